#pragma once

#include "store/Field.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// Proposes which item field each column of a file fills, from the column's heading: a field's own
// name, or one of the captions the program shows the field under in any of its languages, letter case,
// blanks and a closing "." or ":" aside.
class THeaderMatcher {
public:
    // `fields` the fields a column can fill; `captions` per field name the other names it goes by.
    THeaderMatcher(std::vector<TFieldDef> fields, const QHash<QString, QStringList>& captions);

    // The proposed field name per heading, empty for a heading that names none. A field is proposed
    // for the first column that names it only.
    QStringList Propose(const QStringList& headings) const;
    // Whether the headings name at least one field: then the first line holds headings, not an item.
    bool LooksLikeHeadings(const QStringList& headings) const;

    const std::vector<TFieldDef>& Fields() const { return m_fields; }

private:
    static QString Normal(const QString& heading);
    QString FieldFor(const QString& heading) const;

    std::vector<TFieldDef> m_fields;
    QHash<QString, QString> m_names; // normal form -> field name
};
