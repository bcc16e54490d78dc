#include "ImportWriter.h"

#include "ImportError.h"

#include "store/Sqlite.h"
#include "store/Table.h"

#include <QFileInfo>

namespace {
const QString CounterSchema = QStringLiteral("Counter");
constexpr int ProgressEvery = 256;

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
    const int foto = m_items.FieldByName(QStringLiteral("Foto"))->Index();
    QStringList columns;
    QStringList marks;
    for (int f = 0; f < m_items.FieldCount(); ++f) {
        columns << QuotedName(m_items.Fields(f)->FieldName());
        marks << QStringLiteral("?");
    }
    const QString counterTable = SqlTable(m_counter, CounterSchema);
    const QString counterField = QuotedName(m_counter.Fields(0)->FieldName());

    // One transaction over both files: SQLite commits the two together or neither.
    TAttachedDatabase counterFile(db, m_counter.FilePath(), CounterSchema);
    TTransaction transaction(db);
    qint64 number = 0;
    {
        TSqliteStatement last(db, QStringLiteral("SELECT max(%1) FROM %2").arg(counterField, counterTable));
        if (last.Step() && !last.IsNull(0)) {
            number = last.Int64(0);
        }
    }
    TSqliteStatement addNumber(
        db, QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(counterTable, counterField));
    TSqliteStatement addItem(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(SqlTable(m_items, QStringLiteral("main")),
                                          columns.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (const TImportRow& row : rows) {
        if (!IsWritten(row, duplicates)) {
            continue;
        }
        ++number;
        addNumber.Bind(1, QVariant(number));
        addNumber.Execute();
        addNumber.Reset();
        for (int f = 0; f < int(row.Values.size()) && f < m_items.FieldCount(); ++f) {
            addItem.Bind(f + 1, f == foto ? QVariant(number) : row.Values[size_t(f)]);
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
    if (progress && !progress(result.Imported, total)) {
        throw EImportCancelled();
    }
    transaction.Commit();
    return result;
}
