#pragma once

#include "SetQuery.h"
#include "Sqlite.h"

#include <functional>
#include <vector>

// Reads one column of a table's current set in a single query of the file and hands it on row by row,
// for as long as the file agrees with the set the table holds; from where they part (the file changed,
// or a record is being edited) the rows are handed on from the set itself.
class TColumnScan {
public:
    using TInFile = std::function<bool(int row, const TSqliteStatement& query)>;
    using TInSet = std::function<bool(int row)>;

    TColumnScan(TSqliteDatabase& db, const TSetQuery& set, const std::vector<qint64>& keys)
        : m_db(db), m_set(set), m_keys(keys) {}

    // Hands the rows from `fromRow` on to `inFile` (the query's column 1 holds the value) while the file
    // can be read, then to `inSet`, until one returns true; returns that row or -1. `readFile` is false
    // while the table's current record differs from the file.
    int Run(const QString& column, int fromRow, bool readFile, const TInFile& inFile,
            const TInSet& inSet) const;

private:
    // Runs the set's query from `row` on; `visit` gets the statement at each row that is still the
    // set's. Returns the row it stopped at, or where the set and the file part.
    int ScanFile(const QString& column, int row, const TInFile& visit, bool& hit) const;

    TSqliteDatabase& m_db;
    const TSetQuery& m_set;
    const std::vector<qint64>& m_keys;
};
