#pragma once

#include "StoredCell.h"

#include <vector>

// Rows as the engine held them, copied out so that they outlive the statement: the keys found, in
// key order, and their columns row after row, with the bytes their text points into.
struct TReadBlock {
    std::vector<qint64> Keys;
    std::vector<TStoredCell> Cells;
    std::vector<char> Text;

    // Steps through a query of the rowid and `columns` columns, in key order, keeping the rows whose
    // keys are among `keys` (ascending).
    void Fill(TSqliteStatement& query, const std::vector<qint64>& keys, int columns);
};
