#pragma once

#include "store/Field.h"

#include <QString>

enum TExportColType {
    ectInteger,
    ectBigint,
    ectFloat,
    ectCurrency,
    ectDate,
    ectTime,
    ectDateTime,
    ectString,
    ectBoolean,
    ectUnknown
};

// One column of an export: which field it shows, under what caption, and how its cells are formatted.
class TExportColumn {
public:
    int FieldIndex = -1;
    QString Name;
    QString Caption;
    TExportColType ColType = ectUnknown;
    QString Format;

    static TExportColType ColTypeOf(TFieldType fieldType);
};
