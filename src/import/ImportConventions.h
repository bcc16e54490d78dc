#pragma once

#include "store/Money.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

class TFormatSettings;

// How a file writes amounts: a decimal comma with points grouping thousands ("1.234,50"), or a
// decimal point with commas grouping thousands ("1,234.50").
enum TDecimalConvention { dcComma, dcPoint };
// The order of day, month and year in a date; a date that starts with a four-digit year is read as
// year, month, day whatever the order.
enum TDateOrder { doDayMonthYear, doMonthDayYear, doYearMonthDay };

// Reads the amounts and dates of a file by its conventions.
class TImportConventions {
public:
    TDecimalConvention Decimal = dcComma;
    TDateOrder DateOrder = doDayMonthYear;

    // The conventions of the regional settings.
    static TImportConventions Regional(const TFormatSettings& settings);
    // The conventions that the amounts and dates of a file point to; where they say nothing, those of
    // `fallback`.
    static TImportConventions Detect(const QStringList& amounts, const QStringList& dates,
                                     const TImportConventions& fallback);

    // "1.234,50", "-1234,5", "1 234,50" or "kr. 1.234,50" by the decimal convention; no value for a
    // text that is no amount, or has more than two decimals.
    std::optional<TMoney> ReadAmount(const QString& text) const;
    // "31-12-2024", "31.12.2024", "31/12/24", "2024-12-31" by the date order. A two-digit year is the
    // latest year with those digits that is not after this year.
    std::optional<QDate> ReadDate(const QString& text, const QDate& today = QDate::currentDate()) const;
};
