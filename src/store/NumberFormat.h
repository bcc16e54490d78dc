#pragma once

#include "Money.h"

#include <QDate>
#include <QString>

class TFormatSettings;

// Display masks such as "#,###,##0.00" or "Kr ###,##0.00": "0" is a digit always shown, "#" a digit
// shown only when significant, "." places the decimal separator, "," anywhere among the digits
// switches on thousands grouping; text before the first and after the last digit is copied as it
// stands. Values are exact: a whole number of 10^-scale units, rounded half away from zero.
// Read once and kept, so that a column of values does not read its mask again for every value.
class TNumberMask {
public:
    TNumberMask() = default;
    explicit TNumberMask(const QString& mask);

    QString Format(qint64 units, int scale, const TFormatSettings& settings) const;

private:
    QString m_prefix;
    QString m_suffix;
    int m_minIntegerDigits = 0;
    int m_decimals = 0;
    int m_minDecimals = 0;
    bool m_grouping = false;
};

QString FormatNumber(const QString& mask, qint64 units, int scale, const TFormatSettings& settings);
inline QString FormatNumber(const QString& mask, TMoney money, const TFormatSettings& settings) {
    return FormatNumber(mask, money.Cents(), 2, settings);
}

// Hands a date pattern to `visit` run by run, a run being one character repeated ("dd", "-", "yyyy"),
// until `visit` returns false; returns whether it went through the whole pattern.
template <typename TVisit> bool ForEachRun(QStringView pattern, TVisit visit) {
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c) {
            ++run;
        }
        if (!visit(c, run)) {
            return false;
        }
        i += run;
    }
    return true;
}

// date.toString(pattern), written directly when the pattern holds only d, dd, M, MM, yy, yyyy and
// characters other than letters and quotes.
QString FormatDate(const QDate& date, QStringView pattern);
