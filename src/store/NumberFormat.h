#pragma once

#include "Money.h"

#include <QString>

class TFormatSettings;

// Display masks such as "#,###,##0.00" or "Kr ###,##0.00": "0" is a digit always shown, "#" a digit
// shown only when significant, "." places the decimal separator, "," anywhere among the digits
// switches on thousands grouping; text before the first and after the last digit is copied as it
// stands. Values are exact: a whole number of 10^-scale units, rounded half away from zero.
QString FormatNumber(const QString& mask, qint64 units, int scale, const TFormatSettings& settings);
inline QString FormatNumber(const QString& mask, TMoney money, const TFormatSettings& settings) {
    return FormatNumber(mask, money.Cents(), 2, settings);
}
