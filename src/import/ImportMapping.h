#pragma once

#include "ImportConventions.h"

#include <QString>
#include <QStringList>

// What the user chose for a file: per column the item field it fills (empty: ignored), where the
// category comes from, whether the first line holds headings, the conventions, and whether rows
// equal to a stored item are imported all the same.
struct TImportMapping {
    QStringList ColumnFields;
    bool HasHeadings = true;
    // Empty: the category comes from the column mapped to "Kategori"; else this value for every row.
    QString FixedCategory;
    TImportConventions Conventions;
    bool ImportDuplicates = false;
};
