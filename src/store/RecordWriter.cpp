#include "RecordWriter.h"

#include <QDate>
#include <QStringList>

namespace {
std::vector<QVariant> Values(const TRecordWriter::TValues& values) {
    std::vector<QVariant> result;
    result.reserve(values.size());
    for (const auto& value : values) {
        result.push_back(value.second);
    }
    return result;
}
} // namespace

qint64 TRecordWriter::Insert(const TValues& values) {
    QStringList columns;
    QStringList marks;
    for (const auto& value : values) {
        columns << QuotedName(value.first);
        marks << QStringLiteral("?");
    }
    TTransaction transaction(m_db);
    {
        TSqliteStatement insert(
            m_db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(m_quotedTable, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
        insert.BindAll(Values(values));
        insert.Execute();
    }
    const qint64 key = m_db.LastInsertRowId();
    transaction.Commit();
    return key;
}

void TRecordWriter::Update(qint64 key, const TValues& values) {
    QStringList assignments;
    for (const auto& value : values) {
        assignments << QuotedName(value.first) + QStringLiteral(" = ?");
    }
    TTransaction transaction(m_db);
    {
        TSqliteStatement update(m_db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                          .arg(m_quotedTable, assignments.join(QLatin1Char(','))));
        update.BindAll(Values(values));
        update.Bind(int(values.size()) + 1, QVariant(key));
        update.Execute();
    }
    transaction.Commit();
}

void TRecordWriter::Remove(qint64 key) {
    TTransaction transaction(m_db);
    {
        TSqliteStatement remove(m_db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_quotedTable));
        remove.Bind(1, QVariant(key));
        remove.Execute();
    }
    transaction.Commit();
}

QVariant TRecordWriter::Stored(TFieldType type, const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    if (type == ftDate) {
        return QVariant(value.toDate().toString(Qt::ISODate));
    }
    return value;
}
