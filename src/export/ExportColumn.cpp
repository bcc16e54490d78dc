#include "ExportColumn.h"

TExportColType TExportColumn::ColTypeOf(TFieldType fieldType) {
    switch (fieldType) {
    case ftString:
        return ectString;
    case ftInteger:
        return ectInteger;
    case ftDate:
        return ectDate;
    case ftBCD:
        return ectFloat;
    case ftMemo:
        break;
    }
    return ectUnknown;
}
