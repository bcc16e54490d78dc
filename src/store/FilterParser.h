#pragma once

#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

// A filter such as  Kategori = 'Bøger' and Beskrivelse = 'Kid''s bike'  turned into an SQL condition
// whose values are all bound parameters; no text of the filter ever becomes SQL text.
// Grammar: or/and/not, parentheses, comparisons (=, <>, <, >, <=, >=) of a field with a quoted
// text ('' stands for one quote) or a number.
struct TCompiledFilter {
    QString Sql; // empty for an empty filter
    std::vector<QVariant> Parameters;
};

class TFilterParser {
public:
    // Maps a field name and a literal to the column's SQL name and the bound value; raises
    // EDatabaseError for an unknown field or a value the field cannot hold.
    using TResolver =
        std::function<std::pair<QString, QVariant>(const QString& field, const QString& literal)>;

    static TCompiledFilter Compile(const QString& filter, const TResolver& resolver);
};

// "Field = 'value'" with a quote inside the value doubled, so that any value can be filtered on.
QString FilterEquals(const QString& field, const QString& value);
