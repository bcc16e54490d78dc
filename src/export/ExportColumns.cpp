#include "ExportColumns.h"

#include "ExportFormats.h"
#include "store/Table.h"

void TExportColumns::Build(const TTable& table, const QStringList& exportedFields) {
    m_items.clear();
    for (int i = 0; i < table.FieldCount(); ++i) {
        const TField* field = table.Fields(i);
        if (field->IsBlob()) {
            continue;
        }
        if (!exportedFields.isEmpty() && !exportedFields.contains(field->FieldName(), Qt::CaseInsensitive)) {
            continue;
        }
        TExportColumn& column = Add();
        column.FieldIndex = i;
        column.Name = field->FieldName();
        column.Caption = field->DisplayLabel();
        column.ColType = TExportColumn::ColTypeOf(field->DataType());
    }
}

const TExportColumn* TExportColumns::FindColumn(const QString& name) const {
    for (const TExportColumn& column : m_items) {
        if (column.Name.compare(name, Qt::CaseInsensitive) == 0) {
            return &column;
        }
    }
    return nullptr;
}

QString TExportColumns::FormatFor(TExportColType type, const TExportFormats& formats) {
    switch (type) {
    case ectInteger:
    case ectBigint:
        return formats.IntegerFormat;
    case ectFloat:
        return formats.FloatFormat;
    case ectCurrency:
        return formats.CurrencyFormat;
    case ectDate:
        return formats.DateFormat;
    case ectTime:
        return formats.TimeFormat;
    case ectDateTime:
        return formats.DateTimeFormat;
    case ectString:
    case ectBoolean:
    case ectUnknown:
        break;
    }
    return {};
}
