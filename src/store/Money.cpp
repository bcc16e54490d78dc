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

QString TMoney::ToString(const TFormatSettings& settings) const {
    const quint64 magnitude = m_cents < 0 ? quint64(-(m_cents + 1)) + 1 : quint64(m_cents);
    QString text = QString::number(magnitude / 100);
    text += settings.DecimalSeparator;
    text += QStringLiteral("%1").arg(magnitude % 100, 2, 10, QLatin1Char('0'));
    return m_cents < 0 ? QLatin1Char('-') + text : text;
}

QString TMoney::ToGeneralString(const TFormatSettings& settings) const {
    QString text = ToString(settings);
    while (text.endsWith(QLatin1Char('0'))) {
        text.chop(1);
    }
    if (text.endsWith(settings.DecimalSeparator)) {
        text.chop(1);
    }
    return text;
}
