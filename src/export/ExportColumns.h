#pragma once

#include "ExportColumn.h"

#include <QStringList>
#include <vector>

class TTable;
class TExportFormats;

// The columns of one run, in the table's field order; large-object fields have none.
class TExportColumns {
public:
    void Clear() { m_items.clear(); }
    // exportedFields: when not empty, only the fields named there become columns.
    // Names, captions and types from the table's fields; the format layer fills in the patterns.
    void Build(const TTable& table, const QStringList& exportedFields = {});
    TExportColumn& Add() { return m_items.emplace_back(); }

    int Count() const { return int(m_items.size()); }
    const TExportColumn& Items(int index) const { return m_items.at(size_t(index)); }
    TExportColumn& Items(int index) { return m_items.at(size_t(index)); }
    const TExportColumn* FindColumn(const QString& name) const;

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }

    static QString FormatFor(TExportColType type, const TExportFormats& formats);

private:
    std::vector<TExportColumn> m_items;
};
