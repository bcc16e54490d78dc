#include "ErrorTexts.h"

#include "localisation/TextCatalogue.h"
#include "store/Error.h"
#include "store/FormatSettings.h"

#include <QDate>

namespace {
QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString InvalidValue(const EHabitraError& error, const ErrorTexts::TCaption& caption,
                     const TFormatSettings& settings) {
    QString field = caption ? caption(error.Subject()) : QString();
    if (field.isEmpty()) {
        field = error.Subject();
    }
    switch (error.ValueKind()) {
    case vkAmount:
        return LocalText(
                   "Error.Amount",
                   "\"%1\" er ikke et beløb, som feltet %2 kan gemme. Skriv kun tal, og brug \"%3\" som "
                   "decimaltegn, f.eks. %4.")
            .arg(error.Value(), Quoted(field), QString(settings.DecimalSeparator),
                 QStringLiteral("1250") + settings.DecimalSeparator + QStringLiteral("50"));
    case vkDate:
        return LocalText("Error.Date",
                         "\"%1\" er ikke en dato, som feltet %2 kan gemme. Skriv datoen som %3, eller "
                         "vælg den i kalenderen.")
            .arg(error.Value(), Quoted(field), QDate(2025, 12, 24).toString(settings.ShortDateFormat));
    case vkWholeNumber:
        return LocalText("Error.WholeNumber", "\"%1\" er ikke et helt tal, som feltet %2 kan gemme.")
            .arg(error.Value(), Quoted(field));
    case vkNone:
        break;
    }
    return {};
}

QString Headline(const EHabitraError& error, const ErrorTexts::TCaption& caption,
                 const TFormatSettings& settings) {
    const QString subject = Quoted(error.Subject());
    switch (error.Kind()) {
    case ekLocked:
        return LocalText(
                   "Error.Locked",
                   "Tabellen %1 er i brug af et andet program. Prøv igen, når det andet program er lukket.")
            .arg(subject);
    case ekDamaged:
        return LocalText("Error.Damaged",
                         "Tabellen %1 er beskadiget eller er ikke en tabel fra dette program.")
            .arg(subject);
    case ekMissing:
        return LocalText("Error.Missing", "Tabellen %1 findes ikke.").arg(subject);
    case ekCannotCreate:
        return LocalText("Error.CannotCreate", "%1 kan ikke oprettes.").arg(subject);
    case ekReadOnly:
        return LocalText("Error.ReadOnly", "Tabellen %1 er skrivebeskyttet: ændringer kan ikke gemmes.")
            .arg(subject);
    case ekDiskFull:
        return LocalText("Error.DiskFull", "Der er ikke plads nok på disken til at gemme i %1.").arg(subject);
    case ekWriteFailed:
        return LocalText("Error.WriteFailed", "Filen kunne ikke skrives færdig. Måske er disken fuld.");
    case ekTableFailed:
        return LocalText("Error.TableFailed", "Tabellen %1 kan ikke læses eller skrives.").arg(subject);
    case ekInvalidValue:
        return InvalidValue(error, caption, settings);
    case ekGeneral:
        break;
    }
    return {};
}
} // namespace

QString ErrorTexts::Describe(const EHabitraError& error, const TCaption& caption,
                             const TFormatSettings& settings) {
    const QString headline = Headline(error, caption, settings);
    if (headline.isEmpty() || error.Detail().isEmpty()) {
        return headline;
    }
    return headline + QStringLiteral("\n\r") + error.Detail();
}
