#include "ImportConventions.h"

#include "store/FormatSettings.h"

#include <QRegularExpression>

namespace {
// A currency named before or after an amount, as spreadsheets show money: "kr. 1.234,50", "1 234,50 kr".
QString WithoutCurrency(const QString& text) {
    static const QRegularExpression currency(
        QStringLiteral("^(?:(?:kr\\.?|dkk|nok|sek|eur|€|\\$|£)\\s*)?(.*?)(?:\\s*(?:kr\\.?|dkk|nok|sek|eur|€|"
                       "\\$|£|,-))?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString trimmed = text.trimmed();
    const auto match = currency.match(trimmed);
    return match.hasMatch() ? match.captured(1) : trimmed;
}

struct TDateParts {
    int First = 0;
    int Second = 0;
    int Third = 0;
    int FirstDigits = 0;
    int ThirdDigits = 0;
};

std::optional<TDateParts> SplitDate(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,4})([-./])(\\d{1,2})\\2(\\d{1,4})(?:[ T]00:00(?::00)?)?$"));
    const auto match = pattern.match(text.trimmed());
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    TDateParts parts;
    parts.First = match.captured(1).toInt();
    parts.FirstDigits = int(match.capturedLength(1));
    parts.Second = match.captured(3).toInt();
    parts.Third = match.captured(4).toInt();
    parts.ThirdDigits = int(match.capturedLength(4));
    return parts;
}
} // namespace

TImportConventions TImportConventions::Regional(const TFormatSettings& settings) {
    TImportConventions conventions;
    conventions.Decimal = settings.DecimalSeparator == QLatin1Char('.') ? dcPoint : dcComma;
    const QString pattern = settings.ShortDateFormat;
    const qsizetype day = pattern.indexOf(QLatin1Char('d'));
    const qsizetype month = pattern.indexOf(QLatin1Char('M'));
    const qsizetype year = pattern.indexOf(QLatin1Char('y'));
    if (year >= 0 && year < month && year < day) {
        conventions.DateOrder = doYearMonthDay;
    } else if (month >= 0 && month < day) {
        conventions.DateOrder = doMonthDayYear;
    }
    return conventions;
}

TImportConventions TImportConventions::Detect(const QStringList& amounts, const QStringList& dates,
                                              const TImportConventions& fallback) {
    TImportConventions conventions = fallback;
    // Sure signs: a separator followed by one or two digits at the end is the decimal one, and of
    // two different separators the last one is.
    static const QRegularExpression commaDecimal(QStringLiteral("^[-+]?[\\d. ]*\\d,\\d{1,2}$"));
    static const QRegularExpression pointDecimal(QStringLiteral("^[-+]?[\\d, ]*\\d\\.\\d{1,2}$"));
    int comma = 0;
    int point = 0;
    for (const QString& amount : amounts) {
        const QString value = WithoutCurrency(amount);
        if (commaDecimal.match(value).hasMatch()) {
            ++comma;
        } else if (pointDecimal.match(value).hasMatch()) {
            ++point;
        }
    }
    if (comma != point) {
        conventions.Decimal = comma > point ? dcComma : dcPoint;
    }
    int dayFirst = 0;
    int monthFirst = 0;
    for (const QString& date : dates) {
        const auto parts = SplitDate(date);
        if (!parts) {
            continue;
        }
        // A year first reads the same in every order.
        if (parts->FirstDigits == 4) {
            continue;
        }
        if (parts->First > 12) {
            ++dayFirst;
        } else if (parts->Second > 12) {
            ++monthFirst;
        }
    }
    if (dayFirst > 0 || monthFirst > 0) {
        conventions.DateOrder = dayFirst >= monthFirst ? doDayMonthYear : doMonthDayYear;
    }
    return conventions;
}

std::optional<TMoney> TImportConventions::ReadAmount(const QString& text) const {
    QString value = WithoutCurrency(text);
    // Blanks (also the no-break blank spreadsheets group with) may group thousands.
    value.remove(QLatin1Char(' '));
    value.remove(QChar(0x00A0));
    value.remove(QChar(0x202F));
    TFormatSettings settings;
    settings.DecimalSeparator = Decimal == dcComma ? QLatin1Char(',') : QLatin1Char('.');
    settings.ThousandSeparator = Decimal == dcComma ? QLatin1Char('.') : QLatin1Char(',');
    // A minus sign written after a currency ("kr -50") or with the typographic sign.
    value.replace(QChar(0x2212), QLatin1Char('-'));
    return TMoney::Parse(value, settings);
}

std::optional<QDate> TImportConventions::ReadDate(const QString& text, const QDate& today) const {
    const auto parts = SplitDate(text);
    if (!parts) {
        return std::nullopt;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    int yearDigits = 0;
    if (parts->FirstDigits == 4 || DateOrder == doYearMonthDay) {
        year = parts->First;
        yearDigits = parts->FirstDigits;
        month = parts->Second;
        day = parts->Third;
        if (parts->ThirdDigits > 2) {
            return std::nullopt;
        }
    } else {
        if (parts->FirstDigits > 2) {
            return std::nullopt;
        }
        year = parts->Third;
        yearDigits = parts->ThirdDigits;
        day = DateOrder == doDayMonthYear ? parts->First : parts->Second;
        month = DateOrder == doDayMonthYear ? parts->Second : parts->First;
    }
    if (yearDigits == 2) {
        const int century = today.year() / 100 * 100;
        year += century;
        if (year > today.year()) {
            year -= 100;
        }
    } else if (yearDigits != 4) {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date;
}
