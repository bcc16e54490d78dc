#include "NumberFormat.h"

#include "FormatSettings.h"

namespace {
bool IsPlaceholder(QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('#'); }

struct TMaskParts {
    QString prefix;
    QString suffix;
    int minIntegerDigits = 0;
    int decimals = 0;
    int minDecimals = 0;
    bool grouping = false;
};

TMaskParts ParseMask(const QString& mask) {
    TMaskParts parts;
    int first = -1;
    int last = -1;
    for (int i = 0; i < mask.size(); ++i) {
        if (IsPlaceholder(mask[i])) {
            if (first < 0) {
                first = i;
            }
            last = i;
        }
    }
    if (first < 0) {
        parts.prefix = mask;
        return parts;
    }
    parts.prefix = mask.left(first);
    parts.suffix = mask.mid(last + 1);
    bool afterPoint = false;
    for (int i = first; i <= last; ++i) {
        const QChar c = mask[i];
        if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (c == QLatin1Char(',') && !afterPoint) {
            parts.grouping = true;
        } else if (IsPlaceholder(c)) {
            if (afterPoint) {
                ++parts.decimals;
                if (c == QLatin1Char('0')) {
                    parts.minDecimals = parts.decimals;
                }
            } else if (c == QLatin1Char('0')) {
                ++parts.minIntegerDigits;
            }
        }
    }
    return parts;
}

quint64 PowerOfTen(int n) {
    quint64 value = 1;
    while (n-- > 0) {
        value *= 10;
    }
    return value;
}
} // namespace

QString FormatNumber(const QString& mask, qint64 units, int scale, const TFormatSettings& settings) {
    const TMaskParts parts = ParseMask(mask);
    const bool negative = units < 0;
    quint64 magnitude = negative ? quint64(-(units + 1)) + 1 : quint64(units);

    // Bring the value to the mask's number of decimals, rounding half away from zero.
    if (scale > parts.decimals) {
        const quint64 divisor = PowerOfTen(scale - parts.decimals);
        magnitude = magnitude / divisor + ((magnitude % divisor) * 2 >= divisor ? 1 : 0);
    } else {
        magnitude *= PowerOfTen(parts.decimals - scale);
    }
    const quint64 unit = PowerOfTen(parts.decimals);
    const quint64 whole = magnitude / unit;
    QString fraction = parts.decimals > 0
                           ? QStringLiteral("%1").arg(magnitude % unit, parts.decimals, 10, QLatin1Char('0'))
                           : QString();
    while (fraction.size() > parts.minDecimals && fraction.endsWith(QLatin1Char('0'))) {
        fraction.chop(1);
    }

    QString digits = whole == 0 ? QString() : QString::number(whole);
    while (digits.size() < parts.minIntegerDigits) {
        digits.prepend(QLatin1Char('0'));
    }
    if (parts.grouping) {
        for (int i = digits.size() - 3; i > 0; i -= 3) {
            digits.insert(i, settings.ThousandSeparator);
        }
    }
    QString number = digits;
    if (!fraction.isEmpty()) {
        number += settings.DecimalSeparator + fraction;
    }
    const bool isZero = magnitude == 0;
    if (negative && !isZero) {
        number.prepend(QLatin1Char('-'));
    }
    return parts.prefix + number + parts.suffix;
}
