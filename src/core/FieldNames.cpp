#include "FieldNames.h"

#include <QWidget>

TFieldNames::TFieldNames(QObject* owner) : TCustomLocalizer(owner) {}

void TFieldNames::Add(QWidget* field, std::function<QString()> caption) {
    m_entries.push_back({field, std::move(caption)});
}

void TFieldNames::Refresh() {
    for (const TEntry& entry : m_entries) {
        if (!entry.Field) {
            continue;
        }
        // A mnemonic's marker is not read out; a doubled one stands for the character itself.
        QString name = entry.Caption().trimmed();
        name.replace(QLatin1String("&&"), QStringLiteral("\x01"));
        name.remove(QLatin1Char('&'));
        name.replace(QLatin1Char('\x01'), QLatin1Char('&'));
        if (name.endsWith(QLatin1Char(':'))) {
            name.chop(1);
        }
        if (entry.Field->accessibleName() != name) {
            entry.Field->setAccessibleName(name);
        }
    }
}
