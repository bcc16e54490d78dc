#include "ExportRow.h"

#include "ExportColumns.h"

#include <algorithm>

namespace {
int CompareNames(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive);
}
} // namespace

void TExportRow::Setup(const TExportColumns& columns) {
    m_cols.clear();
    for (const TExportColumn& column : columns) {
        m_cols.push_back(TExportCol{column.Name, QString(), false});
    }
    m_byName.resize(m_cols.size());
    for (size_t i = 0; i < m_cols.size(); ++i) {
        m_byName[i] = int(i);
    }
    std::stable_sort(m_byName.begin(), m_byName.end(), [&](int a, int b) {
        return CompareNames(m_cols[size_t(a)].Name, m_cols[size_t(b)].Name) < 0;
    });
}

void TExportRow::Clear() {
    for (TExportCol& col : m_cols) {
        col.Text.clear();
        col.Changed = false;
    }
}

TExportCol* TExportRow::ColByName(const QString& name) {
    const auto found =
        std::lower_bound(m_byName.begin(), m_byName.end(), name, [&](int index, const QString& key) {
            return CompareNames(m_cols[size_t(index)].Name, key) < 0;
        });
    if (found == m_byName.end() || CompareNames(m_cols[size_t(*found)].Name, name) != 0) {
        return nullptr;
    }
    return &m_cols[size_t(*found)];
}
