#pragma once

#include "FilterParser.h"
#include "IndexOrder.h"
#include "Sqlite.h"

#include <QSet>
#include <QString>
#include <vector>

// The query of a table's current set: the records that pass the filter in force, in the order of the
// selected index. Every value of the filter is a bound parameter.
class TSetQuery {
public:
    void SetTable(const QString& sqlTable) { m_quotedTable = QuotedName(sqlTable); }
    const QString& QuotedTable() const { return m_quotedTable; }

    // The compiled filter and the columns it reads; it restricts the set while filtering is on.
    void SetFilter(TCompiledFilter filter, QSet<QString> columns);
    const TCompiledFilter& CompiledFilter() const { return m_filter; }
    bool Filtering() const { return m_filtering; }
    void SetFiltering(bool on) { m_filtering = on; }
    void SetOrder(TIndexOrder order) { m_order = std::move(order); }

    // Whether a change of this column may move a record within the set or out of it.
    bool DependsOn(const QString& column) const;
    // SELECT `columns` of the set in its order, followed by `tail`, and the filter's values bound to a
    // statement of it (returning the number of the next parameter).
    QString Sql(const QString& columns, const QString& tail = QString()) const;
    int Bind(TSqliteStatement& query) const;
    // The record keys of the set, in order.
    std::vector<qint64> Keys(TSqliteDatabase& db) const;

private:
    bool Restricts() const { return m_filtering && !m_filter.Sql.isEmpty(); }

    QString m_quotedTable;
    TCompiledFilter m_filter;
    QSet<QString> m_filterColumns;
    bool m_filtering = false;
    TIndexOrder m_order;
};
