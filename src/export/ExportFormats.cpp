#include "ExportFormats.h"

#include "store/FormatSettings.h"

TExportFormats::TExportFormats(const TFormatSettings& settings)
    : DateFormat(settings.ShortDateFormat), TimeFormat(settings.ShortTimeFormat),
      DateTimeFormat(settings.ShortDateFormat + QLatin1Char(' ') + settings.ShortTimeFormat) {
    const QString number = QStringLiteral("#,###,##0.00");
    const QString& symbol = settings.CurrencyString;
    switch (settings.CurrencyFormat) {
    case 0:
        CurrencyFormat = symbol + number;
        break;
    case 1:
        CurrencyFormat = number + symbol;
        break;
    case 2:
        CurrencyFormat = symbol + QLatin1Char(' ') + number;
        break;
    default:
        CurrencyFormat = number + QLatin1Char(' ') + symbol;
        break;
    }
}
