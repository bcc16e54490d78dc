#include "ExportScan.h"

#include "DataExport.h"
#include "ExportColumns.h"
#include "ExportRow.h"
#include "store/Error.h"
#include "store/IndexOrder.h"
#include "store/Money.h"
#include "store/StoredCell.h"
#include "store/Table.h"

#include <QFileInfo>

namespace {
// Rows at the start of the set compared with the table's own before the scan is trusted.
constexpr int CheckedRows = 32;

// UTF-8 of one- and two-byte sequences decoded into the cell's own buffer, which keeps its room from
// record to record; false for anything else (longer sequences, faults), which QString reads instead.
bool DecodeShort(QByteArrayView in, QString& out) {
    out.resize(in.size());
    QChar* o = out.data();
    const qsizetype n = in.size();
    for (qsizetype i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            *o++ = QChar(char16_t(b));
            continue;
        }
        if (b < 0xC2 || b > 0xDF || i + 1 == n) {
            return false;
        }
        const auto next = static_cast<unsigned char>(in[i + 1]);
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        *o++ = QChar(char16_t(((b & 0x1F) << 6) | (next & 0x3F)));
        ++i;
    }
    out.resize(o - out.constData());
    return true;
}

bool NeedsTrim(const QString& text) {
    return !text.isEmpty() && (text.front().unicode() <= 32 || text.back().unicode() <= 32);
}
} // namespace

TExportScan::TExportScan(TTable& table, const TExportColumns& columns) : m_table(table) {
    for (const TExportColumn& column : columns) {
        m_fields.push_back(table.Fields(column.FieldIndex));
    }
}

TExportScan::~TExportScan() = default;

std::unique_ptr<TExportScan> TExportScan::For(TTable& table, const TExportColumns& columns) {
    const bool filtered = table.Filtered() && !table.Filter().trimmed().isEmpty();
    if (!table.Active() || table.State() != dsBrowse || filtered || columns.Count() == 0) {
        return nullptr;
    }
    std::unique_ptr<TExportScan> scan(new TExportScan(table, columns));
    try {
        scan->m_db.Open(table.FilePath());
    } catch (const EHabitraError&) {
        return nullptr;
    }
    const QString plainTable = QFileInfo(table.TableName()).completeBaseName();
    const QString sqlTable = QuotedName(plainTable);
    {
        TSqliteStatement count(scan->m_db, QStringLiteral("SELECT count(*) FROM %1").arg(sqlTable));
        if (!count.Step() || count.Int64(0) != table.RecordCount()) {
            return nullptr; // written since the table read its set: the set itself is exported
        }
    }
    QString order;
    try {
        // The same order the table gives its set.
        order = TIndexOrder::Read(scan->m_db, plainTable, table.IndexName(), table.TableName()).Sql;
    } catch (const EHabitraError&) {
        return nullptr;
    }
    QStringList names;
    for (const TField* field : scan->m_fields) {
        names << QuotedName(field->FieldName());
    }
    const QString select =
        QStringLiteral("SELECT %1 FROM %2 ORDER BY ").arg(names.join(QLatin1Char(',')), sqlTable);
    // The first rows must be the set's first rows, so that an order told wrongly never goes unseen.
    {
        TSqliteStatement first(scan->m_db, select + order + QStringLiteral(" LIMIT %1").arg(CheckedRows));
        for (int row = 0; first.Step(); ++row) {
            for (int c = 0; c < int(scan->m_fields.size()); ++c) {
                const TField* field = scan->m_fields[size_t(c)];
                if (TStoredCell::Read(first, c).Value(field->DataType()) !=
                    table.RowValue(row, field->Index())) {
                    return nullptr;
                }
            }
        }
    }
    scan->m_count = table.RecordCount();
    scan->m_query = std::make_unique<TSqliteStatement>(scan->m_db, select + order);
    return scan;
}

bool TExportScan::Next(TExportRow& row) {
    if (!m_query->Step()) {
        return false;
    }
    const TFormatSettings& settings = m_table.FormatSettings();
    for (int c = 0; c < int(m_fields.size()); ++c) {
        const TField* field = m_fields[size_t(c)];
        const TSqliteStatement::TColumnType stored = m_query->Type(c);
        TExportCol& cell = row.Items(c);
        cell.Changed = false;
        // The common kinds as the table writes them, read without a value in between.
        if (stored == TSqliteStatement::ctNull) {
            cell.Text.truncate(0);
            cell.Null = true;
            continue;
        }
        if (stored == TSqliteStatement::ctInteger &&
            (field->DataType() == ftInteger || field->DataType() == ftBCD)) {
            const qint64 number = m_query->Int64(c);
            cell.Text = field->DataType() == ftInteger ? QString::number(number)
                                                       : TMoney::FromCents(number).ToGeneralString(settings);
            cell.Null = false;
            continue;
        }
        if (field->DataType() == ftString && stored == TSqliteStatement::ctText) {
            // Text as the field holds it, without a value in between.
            TExportCol& col = row.Items(c);
            const QByteArrayView bytes = m_query->Utf8(c);
            if (!DecodeShort(bytes, col.Text)) {
                col.Text = QString::fromUtf8(bytes);
            }
            if (NeedsTrim(col.Text)) {
                col.Text = TDataExport::TrimControls(col.Text);
            }
            col.Null = false;
            col.Changed = false;
            continue;
        }
        const QVariant value = TStoredCell::Read(*m_query, c).Value(field->DataType());
        TExportCol& col = row.Items(c);
        col.Null = value.isNull();
        // As the field's AsString reads the value.
        col.Text =
            TDataExport::TrimControls(field->DataType() == ftBCD && !col.Null
                                          ? TMoney::FromCents(value.toLongLong()).ToGeneralString(settings)
                                          : field->DisplayTextOf(value));
        col.Changed = false;
    }
    return true;
}
