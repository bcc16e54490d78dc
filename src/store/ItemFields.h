#pragma once

#include <QString>

// The field names of the three tables, spelled once. The names are the stored ones and never change.
namespace ItemField {
inline const QString Beskrivelse = QStringLiteral("Beskrivelse");
inline const QString Fabrikat = QStringLiteral("Fabrikat");
inline const QString Model = QStringLiteral("Model");
inline const QString Identifikation = QStringLiteral("Identifikation");
inline const QString Kobssted = QStringLiteral("Kobssted");
inline const QString Kobsdato = QStringLiteral("Kobsdato");
inline const QString Vaerdi = QStringLiteral("Vaerdi");
inline const QString Notater = QStringLiteral("Notater");
inline const QString Foto = QStringLiteral("Foto");
inline const QString Kategori = QStringLiteral("Kategori");
} // namespace ItemField

namespace CounterField {
inline const QString Regnr = QStringLiteral("Regnr");
} // namespace CounterField

namespace SettingsField {
inline const QString Hojde = QStringLiteral("Hojde");
inline const QString Bredde = QStringLiteral("Bredde");
inline const QString Sprog = QStringLiteral("Sprog");
inline const QString HojdeOversigt = QStringLiteral("Hojde_oversigt");
inline const QString BreddeOversigt = QStringLiteral("Bredde_oversigt");
} // namespace SettingsField
