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

// Up to `most` digits from `at` on; their count, 0 when none.
int ReadNumber(QStringView text, qsizetype& at, int most, int& value) {
    int digits = 0;
    value = 0;
    while (at < text.size() && digits < most && text[at] >= QLatin1Char('0') &&
           text[at] <= QLatin1Char('9')) {
        value = value * 10 + (text[at].unicode() - u'0');
        ++digits;
        ++at;
    }
    return digits;
}

// Three numbers between one separator written twice ("-", "." or "/"), perhaps followed by a time of
// midnight, as spreadsheets write a date cell of a date-time column.
std::optional<TDateParts> SplitDate(const QString& whole) {
    const QStringView text = QStringView(whole).trimmed();
    TDateParts parts;
    qsizetype at = 0;
    int month = 0;
    parts.FirstDigits = ReadNumber(text, at, 4, parts.First);
    if (parts.FirstDigits == 0 || at >= text.size()) {
        return std::nullopt;
    }
    const QChar separator = text[at];
    if (separator != QLatin1Char('-') && separator != QLatin1Char('.') && separator != QLatin1Char('/')) {
        return std::nullopt;
    }
    ++at;
    if (ReadNumber(text, at, 2, month) == 0 || at >= text.size() || text[at] != separator) {
        return std::nullopt;
    }
    parts.Second = month;
    ++at;
    parts.ThirdDigits = ReadNumber(text, at, 4, parts.Third);
    if (parts.ThirdDigits == 0) {
        return std::nullopt;
    }
    const QStringView rest = text.sliced(at);
    if (!rest.isEmpty() && rest != u" 00:00" && rest != u" 00:00:00" && rest != u"T00:00:00" &&
        rest != u"T00:00") {
        return std::nullopt;
    }
    return parts;
}

const TFormatSettings& AmountSettings(TDecimalConvention convention) {
    static const TFormatSettings comma = [] {
        TFormatSettings settings;
        settings.DecimalSeparator = QLatin1Char(',');
        settings.ThousandSeparator = QLatin1Char('.');
        return settings;
    }();
    static const TFormatSettings point = [] {
        TFormatSettings settings;
        settings.DecimalSeparator = QLatin1Char('.');
        settings.ThousandSeparator = QLatin1Char(',');
        return settings;
    }();
    return convention == dcComma ? comma : point;
}

// Digits, separators and a sign only: the common case, read without looking for a currency.
bool PlainAmount(const QString& text) {
    for (const QChar c : text) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
              c == QLatin1Char(',') || c == QLatin1Char('-'))) {
            return false;
        }
    }
    return true;
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
    if (PlainAmount(text)) {
        return TMoney::Parse(text, AmountSettings(Decimal));
    }
    QString value = WithoutCurrency(text);
    // Blanks (also the no-break blank spreadsheets group with) may group thousands.
    value.remove(QLatin1Char(' '));
    value.remove(QChar(0x00A0));
    value.remove(QChar(0x202F));
    value.replace(QChar(0x2212), QLatin1Char('-'));
    return TMoney::Parse(value, AmountSettings(Decimal));
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
