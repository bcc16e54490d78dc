#include "ImportWriter.h"

#include "ImportError.h"

#include "store/Error.h"
#include "store/ItemFields.h"
#include "store/Sqlite.h"
#include "store/Table.h"

#include <QDate>
#include <QFileInfo>
#include <QStringEncoder>

namespace {
const QString CounterSchema = QStringLiteral("Counter");
constexpr int ProgressEvery = 256;

// Drops the indexes of a table inside the transaction under way; the statements that make them again.
QStringList DropIndexes(TSqliteDatabase& db, const QString& table) {
    QStringList names;
    QStringList statements;
    {
        TSqliteStatement query(
            db, QStringLiteral("SELECT name, sql FROM main.sqlite_master WHERE type = 'index' AND "
                               "tbl_name = ? AND sql IS NOT NULL"));
        query.Bind(1, table);
        while (query.Step()) {
            names << query.Text(0);
            statements << query.Text(1);
        }
    }
    for (const QString& name : names) {
        db.Execute(QStringLiteral("DROP INDEX main.%1").arg(QuotedName(name)));
    }
    return statements;
}

// A date as the table stores it, "yyyy-MM-dd", written into the buffer; false for a year that has no
// four digits, which the statement's own binding writes.
bool IsoDate(const QDate& date, QByteArray& buffer) {
    const int year = date.year();
    if (year < 1 || year > 9999) {
        return false;
    }
    buffer.resize(10);
    char* out = buffer.data();
    const auto digits = [&](int value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            out[i] = char('0' + value % 10);
            value /= 10;
        }
        out += count;
    };
    digits(year, 4);
    *out++ = '-';
    digits(date.month(), 2);
    *out++ = '-';
    digits(date.day(), 2);
    return true;
}

QString SqlTable(const TTable& table, const QString& schema) {
    return QuotedName(schema) + QLatin1Char('.') +
           QuotedName(QFileInfo(table.TableName()).completeBaseName());
}
} // namespace

TImportWriter::TImportWriter(TTable& items, TTable& counter) : m_items(items), m_counter(counter) {}

TImportResult TImportWriter::Write(const std::vector<TImportRow>& rows, bool duplicates,
                                   const TProgress& progress) {
    TImportResult result;
    // Both tables end what they have in hand and read their records anew afterwards, also on failure.
    m_counter.WriteThrough([&](TSqliteDatabase&) {
        m_items.WriteThrough(
            [&](TSqliteDatabase& db) { result = WriteInto(db, rows, duplicates, progress); });
    });
    return result;
}

TImportResult TImportWriter::WriteInto(TSqliteDatabase& db, const std::vector<TImportRow>& rows,
                                       bool duplicates, const TProgress& progress) {
    int total = 0;
    for (const TImportRow& row : rows) {
        total += IsWritten(row, duplicates) ? 1 : 0;
    }
    TImportResult result;
    if (total == 0) {
        return result;
    }
    const int foto = m_items.FieldByName(ItemField::Foto)->Index();
    QStringList columns;
    QStringList marks;
    for (int f = 0; f < m_items.FieldCount(); ++f) {
        columns << QuotedName(m_items.Fields(f)->FieldName());
        marks << QStringLiteral("?");
    }
    const QString counterTable = SqlTable(m_counter, CounterSchema);
    const QString counterField = QuotedName(m_counter.Fields(0)->FieldName());

    // One transaction over both files: SQLite commits the two together or neither. The connection's own
    // page cache is enough: the new pages go out as it fills, while a cache as large as the register
    // costs a page fault for every page of memory it takes, more than the writes it saves.
    TAttachedDatabase counterFile(db, m_counter.FilePath(), CounterSchema);
    TTransaction transaction(db);
    qint64 number = 0;
    {
        TSqliteStatement last(db, QStringLiteral("SELECT max(%1) FROM %2").arg(counterField, counterTable));
        if (last.Step() && !last.IsNull(0)) {
            number = last.Int64(0);
        }
    }
    // The picture numbers handed out, one record each, in one statement.
    {
        TSqliteStatement numbers(
            db, QStringLiteral("WITH RECURSIVE n(x) AS (SELECT ?1 UNION ALL SELECT x + 1 FROM n "
                               "WHERE x < ?2) INSERT INTO %1 (%2) SELECT x FROM n")
                    .arg(counterTable, counterField));
        numbers.Bind(1, QVariant(number + 1));
        numbers.Bind(2, QVariant(number + total));
        numbers.Execute();
    }
    // Many items into a small register: its indexes are built again once, instead of record by record.
    const QString itemTable = QFileInfo(m_items.TableName()).completeBaseName();
    QStringList indexes;
    if (total > m_items.RecordCount() && total > 1000) {
        indexes = DropIndexes(db, itemTable);
    }
    TSqliteStatement addItem(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(SqlTable(m_items, QStringLiteral("main")),
                                          columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    std::vector<QByteArray> texts(size_t(m_items.FieldCount()));
    QStringEncoder encoder(QStringEncoder::Utf8);
    for (const TImportRow& row : rows) {
        if (!IsWritten(row, duplicates)) {
            continue;
        }
        ++number;
        for (int f = 0; f < int(row.Values.size()) && f < m_items.FieldCount(); ++f) {
            const QVariant& value = f == foto ? QVariant(number) : row.Values[size_t(f)];
            if (value.typeId() == QMetaType::QString) {
                // Encoded into a buffer kept per column, so that a text costs no allocation.
                QByteArray& buffer = texts[size_t(f)];
                const QString& text = *static_cast<const QString*>(value.constData());
                buffer.resize(text.size() * 3);
                char* end = encoder.appendToBuffer(buffer.data(), text);
                buffer.truncate(end - buffer.data());
                addItem.BindUtf8(f + 1, buffer);
            } else if (value.typeId() == QMetaType::QDate &&
                       IsoDate(*static_cast<const QDate*>(value.constData()), texts[size_t(f)])) {
                addItem.BindUtf8(f + 1, texts[size_t(f)]);
            } else {
                addItem.Bind(f + 1, value);
            }
        }
        addItem.Execute();
        addItem.Reset();
        if (result.Imported == 0) {
            result.FirstKey = db.LastInsertRowId();
        }
        ++result.Imported;
        if (progress && result.Imported % ProgressEvery == 0 && !progress(result.Imported, total)) {
            throw EImportCancelled();
        }
    }
    for (const QString& index : indexes) {
        db.Execute(index);
    }
    if (progress && !progress(result.Imported, total)) {
        throw EImportCancelled();
    }
    transaction.Commit();
    return result;
}
