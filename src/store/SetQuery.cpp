#include "SetQuery.h"

void TSetQuery::SetFilter(TCompiledFilter filter, QSet<QString> columns) {
    m_filter = std::move(filter);
    m_filterColumns = std::move(columns);
}

bool TSetQuery::DependsOn(const QString& column) const {
    return m_order.Fields.contains(column) || m_filterColumns.contains(column);
}

QString TSetQuery::Sql(const QString& columns, const QString& tail) const {
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns, m_quotedTable);
    if (Restricts()) {
        sql += QStringLiteral(" WHERE ") + m_filter.Sql;
    }
    return sql + QStringLiteral(" ORDER BY ") + m_order.Sql + tail;
}

int TSetQuery::Bind(TSqliteStatement& query) const {
    if (!Restricts()) {
        return 1;
    }
    query.BindAll(m_filter.Parameters);
    return int(m_filter.Parameters.size()) + 1;
}

std::vector<qint64> TSetQuery::Keys(TSqliteDatabase& db) const {
    TSqliteStatement query(db, Sql(QStringLiteral("rowid")));
    Bind(query);
    std::vector<qint64> keys;
    while (query.Step()) {
        keys.push_back(query.Int64(0));
    }
    return keys;
}
