#include "FormatSettings.h"

#include <QLocale>

TFormatSettings TFormatSettings::Danish() {
    return TFormatSettings{};
}

TFormatSettings TFormatSettings::English() {
    TFormatSettings settings;
    settings.ThousandSeparator = QLatin1Char(',');
    settings.DecimalSeparator = QLatin1Char('.');
    settings.CurrencyString = QStringLiteral("£");
    settings.CurrencyFormat = 0;
    settings.ShortDateFormat = QStringLiteral("dd/MM/yyyy");
    settings.ShortTimeFormat = QStringLiteral("HH:mm");
    settings.LongTimeFormat = QStringLiteral("HH:mm:ss");
    return settings;
}

TFormatSettings TFormatSettings::FromSystemLocale() {
    const QLocale locale = QLocale::system();
    if (locale.language() == QLocale::C) {
        return Danish();
    }
    TFormatSettings settings;
    const QString group = locale.groupSeparator();
    const QString decimal = locale.decimalPoint();
    settings.ThousandSeparator = group.isEmpty() ? QLatin1Char(' ') : group.at(0);
    settings.DecimalSeparator = decimal.isEmpty() ? QLatin1Char('.') : decimal.at(0);
    settings.CurrencyString = locale.currencySymbol(QLocale::CurrencySymbol);
    const QString sample = locale.toCurrencyString(1.0);
    const bool symbolFirst = sample.startsWith(settings.CurrencyString);
    const bool spaced = sample.contains(QLatin1Char(' ')) || sample.contains(QChar(0x00A0));
    settings.CurrencyFormat = symbolFirst ? (spaced ? 2 : 0) : (spaced ? 3 : 1);
    settings.ShortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    // Four-digit years keep dates in exported files unambiguous.
    if (!settings.ShortDateFormat.contains(QLatin1String("yyyy"))) {
        settings.ShortDateFormat.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    settings.ShortTimeFormat = locale.timeFormat(QLocale::ShortFormat);
    settings.LongTimeFormat = locale.timeFormat(QLocale::LongFormat);
    return settings;
}
