#pragma once

#include "store/Sqlite.h"

#include <memory>
#include <vector>

class TExportColumns;
class TExportRow;
class TField;
class TTable;

// Reads the records of a table's whole set for an export straight from its file, in the set's order,
// over a connection of its own: one query for all rows instead of a walk of the cursor, which stays
// where it is. Each cell gets the text the field's AsString gives for the stored value.
class TExportScan {
public:
    // A scan of the table's set, or none when the set is not the whole file in a known order (a
    // filter in force, a record being edited, or records written since the set was read).
    static std::unique_ptr<TExportScan> For(TTable& table, const TExportColumns& columns);
    ~TExportScan();
    TExportScan(const TExportScan&) = delete;
    TExportScan& operator=(const TExportScan&) = delete;

    int Count() const { return m_count; }
    // Fills the row with the next record; false after the last.
    bool Next(TExportRow& row);

private:
    TExportScan(TTable& table, const TExportColumns& columns);

    TTable& m_table;
    TSqliteDatabase m_db;
    std::vector<TField*> m_fields;
    std::unique_ptr<TSqliteStatement> m_query;
    int m_count = 0;
};
