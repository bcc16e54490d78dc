#include "Money.h"

#include "FormatSettings.h"

#include <limits>

std::optional<TMoney> TMoney::Parse(const QString& text, const TFormatSettings& settings) {
    const QString trimmed = text.trimmed();
    int pos = 0;
    bool negative = false;
    if (pos < trimmed.size() && (trimmed[pos] == QLatin1Char('-') || trimmed[pos] == QLatin1Char('+'))) {
        negative = trimmed[pos] == QLatin1Char('-');
        ++pos;
    }
    qint64 whole = 0;
    int digits = 0;
    int groupDigits = -1; // digits since the last thousands separator, -1 before the first one
    bool grouped = false;
    constexpr qint64 limit = std::numeric_limits<qint64>::max() / 1000;
    for (; pos < trimmed.size(); ++pos) {
        const QChar c = trimmed[pos];
        if (c.isDigit()) {
            if (whole > limit) {
                return std::nullopt;
            }
            whole = whole * 10 + c.digitValue();
            ++digits;
            if (groupDigits >= 0) {
                ++groupDigits;
            }
        } else if (c == settings.ThousandSeparator && c != settings.DecimalSeparator) {
            if (digits == 0 || (groupDigits >= 0 && groupDigits != 3)) {
                return std::nullopt;
            }
            grouped = true;
            groupDigits = 0;
        } else {
            break;
        }
    }
    if (grouped && groupDigits != 3) {
        return std::nullopt;
    }
    qint64 fraction = 0;
    if (pos < trimmed.size() && trimmed[pos] == settings.DecimalSeparator) {
        ++pos;
        int decimals = 0;
        for (; pos < trimmed.size() && trimmed[pos].isDigit(); ++pos) {
            if (++decimals > 2) {
                return std::nullopt;
            }
            fraction = fraction * 10 + trimmed[pos].digitValue();
            ++digits;
        }
        if (decimals == 1) {
            fraction *= 10;
        }
    }
    if (digits == 0 || pos != trimmed.size()) {
        return std::nullopt;
    }
    if (whole > (std::numeric_limits<qint64>::max() - fraction) / 100) {
        return std::nullopt;
    }
    const qint64 cents = whole * 100 + fraction;
    return FromCents(negative ? -cents : cents);
}

namespace {
// Up to 21 characters: sign, 17 digits, separator, two decimals.
qsizetype WriteAmount(qint64 cents, QChar decimalSeparator, char16_t* out) {
    const quint64 magnitude = cents < 0 ? quint64(-(cents + 1)) + 1 : quint64(cents);
    char16_t reversed[24];
    int count = 0;
    quint64 whole = magnitude / 100;
    do {
        reversed[count++] = char16_t(u'0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    qsizetype length = 0;
    if (cents < 0) {
        out[length++] = u'-';
    }
    while (count > 0) {
        out[length++] = reversed[--count];
    }
    out[length++] = decimalSeparator.unicode();
    out[length++] = char16_t(u'0' + magnitude % 100 / 10);
    out[length++] = char16_t(u'0' + magnitude % 10);
    return length;
}
} // namespace

QString TMoney::ToString(const TFormatSettings& settings) const {
    char16_t buffer[32];
    const qsizetype length = WriteAmount(m_cents, settings.DecimalSeparator, buffer);
    return QString(reinterpret_cast<const QChar*>(buffer), length);
}

QString TMoney::ToGeneralString(const TFormatSettings& settings) const {
    char16_t buffer[32];
    qsizetype length = WriteAmount(m_cents, settings.DecimalSeparator, buffer);
    while (length > 0 && buffer[length - 1] == u'0') {
        --length;
    }
    if (length > 0 && buffer[length - 1] == settings.DecimalSeparator.unicode()) {
        --length;
    }
    return QString(reinterpret_cast<const QChar*>(buffer), length);
}
