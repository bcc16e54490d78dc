#pragma once

#include "ExportCol.h"

#include <vector>

class TExportColumns;

// The cells of the record being exported, in column order, with lookup by column name.
class TExportRow {
public:
    void Setup(const TExportColumns& columns);
    void Clear();

    int Count() const { return int(m_cols.size()); }
    TExportCol& Items(int index) { return m_cols.at(size_t(index)); }
    const TExportCol& Items(int index) const { return m_cols.at(size_t(index)); }
    TExportCol* ColByName(const QString& name);

private:
    std::vector<TExportCol> m_cols;
    std::vector<int> m_byName; // indexes into m_cols, sorted by name
};
