#include "FieldFilter.h"

#include <QStringList>

TFieldFilter& TFieldFilter::And(const QString& field, const QString& value) {
    m_terms.push_back({field, value});
    return *this;
}

QString TFieldFilter::Text() const {
    QStringList parts;
    for (const TTerm& term : m_terms) {
        parts << FilterEquals(term.Field, term.Value);
    }
    return parts.join(QStringLiteral(" and "));
}

TCompiledFilter TFieldFilter::Compile(const TFilterParser::TResolver& resolver) const {
    TCompiledFilter compiled;
    QStringList conditions;
    for (const TTerm& term : m_terms) {
        const auto [column, value] = resolver(term.Field, term.Value);
        if (value.isNull()) {
            conditions << QStringLiteral("(%1 IS NULL)").arg(column);
        } else {
            conditions << QStringLiteral("%1 = ?").arg(column);
            compiled.Parameters.push_back(value);
        }
    }
    compiled.Sql = conditions.join(QStringLiteral(" AND "));
    return compiled;
}
