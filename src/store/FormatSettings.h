#pragma once

#include <QChar>
#include <QString>

// The regional settings the program formats with, read once at start.
class TFormatSettings {
public:
    QChar ThousandSeparator = QLatin1Char('.');
    QChar DecimalSeparator = QLatin1Char(',');
    QString CurrencyString = QStringLiteral("kr.");
    int CurrencyFormat = 2;                                 // 0 "kr1", 1 "1kr", 2 "kr 1", 3 "1 kr"
    QString ShortDateFormat = QStringLiteral("dd-MM-yyyy"); // QDate::toString pattern
    QString ShortTimeFormat = QStringLiteral("HH:mm");
    QString LongTimeFormat = QStringLiteral("HH:mm:ss");

    static TFormatSettings Danish();
    static TFormatSettings English();
    static TFormatSettings FromSystemLocale();
};
