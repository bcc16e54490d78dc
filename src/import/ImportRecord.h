#pragma once

#include <QStringList>

// One record of a delimited file: the line it starts on (1-based) and its values as written,
// quotes removed. `Unclosed` marks a record whose quoted value the file never closes.
struct TImportRecord {
    int Line = 0;
    QStringList Cells;
    bool Unclosed = false;

    bool IsBlank() const;
};
