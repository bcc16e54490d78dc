#pragma once

#include "FilterParser.h"

#include <QString>
#include <vector>

// A filter the program composes itself: fields that must each hold exactly a value. Unlike a typed
// filter text it needs no quoting, so any value (quotes, percent signs, backslashes) is filtered on as
// it is; Text() gives the same filter as the text parser reads it.
class TFieldFilter {
public:
    struct TTerm {
        QString Field;
        QString Value;
        bool operator==(const TTerm&) const = default;
    };

    TFieldFilter() = default;
    TFieldFilter(const QString& field, const QString& value) { And(field, value); }
    // The records must also hold `value` in `field`.
    TFieldFilter& And(const QString& field, const QString& value);

    bool IsEmpty() const { return m_terms.empty(); }
    const std::vector<TTerm>& Terms() const { return m_terms; }
    // As a filter text: Kategori = 'Bøger' and Beskrivelse = 'Kid''s bike'.
    QString Text() const;
    // The SQL condition, through the same resolver the text parser uses, so that both read a value
    // alike; an empty value matches an empty field.
    TCompiledFilter Compile(const TFilterParser::TResolver& resolver) const;

    bool operator==(const TFieldFilter&) const = default;

private:
    std::vector<TTerm> m_terms;
};
