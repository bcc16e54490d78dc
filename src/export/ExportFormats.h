#pragma once

#include <QString>

class TFormatSettings;

// The patterns the exporter formats each column type with, taken from the regional settings.
class TExportFormats {
public:
    TExportFormats() = default;
    explicit TExportFormats(const TFormatSettings& settings);

    QString IntegerFormat = QStringLiteral("#,###,##0");
    QString FloatFormat = QStringLiteral("#,###,##0.00");
    QString DateFormat;
    QString TimeFormat;
    QString DateTimeFormat;
    QString CurrencyFormat;
    QString BooleanTrue = QStringLiteral("true");
    QString BooleanFalse = QStringLiteral("false");
    QString NullString;
};
