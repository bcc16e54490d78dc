#include "HeaderMatcher.h"

#include <QSet>

THeaderMatcher::THeaderMatcher(std::vector<TFieldDef> fields, const QHash<QString, QStringList>& captions)
    : m_fields(std::move(fields)) {
    // Field names first: a caption never takes a name from the field that carries it.
    for (const TFieldDef& field : m_fields) {
        m_names.insert(Normal(field.Name), field.Name);
    }
    for (const TFieldDef& field : m_fields) {
        for (const QString& caption : captions.value(field.Name)) {
            const QString normal = Normal(caption);
            if (!normal.isEmpty() && !m_names.contains(normal)) {
                m_names.insert(normal, field.Name);
            }
        }
    }
}

QString THeaderMatcher::Normal(const QString& heading) {
    QString normal = heading.simplified().toCaseFolded();
    while (normal.endsWith(QLatin1Char('.')) || normal.endsWith(QLatin1Char(':'))) {
        normal.chop(1);
    }
    return normal.trimmed();
}

QString THeaderMatcher::FieldFor(const QString& heading) const {
    return m_names.value(Normal(heading));
}

QStringList THeaderMatcher::Propose(const QStringList& headings) const {
    QStringList proposed;
    QSet<QString> taken;
    for (const QString& heading : headings) {
        const QString field = FieldFor(heading);
        if (field.isEmpty() || taken.contains(field)) {
            proposed << QString();
            continue;
        }
        taken.insert(field);
        proposed << field;
    }
    return proposed;
}

bool THeaderMatcher::LooksLikeHeadings(const QStringList& headings) const {
    for (const QString& heading : headings) {
        if (!FieldFor(heading).isEmpty()) {
            return true;
        }
    }
    return false;
}
