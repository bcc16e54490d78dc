#include "NumberFormat.h"

#include "FormatSettings.h"

#include <QVarLengthArray>

#include <algorithm>

namespace {
bool IsPlaceholder(QChar c) {
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

quint64 PowerOfTen(int n) {
    quint64 value = 1;
    while (n-- > 0) {
        value *= 10;
    }
    return value;
}

// Decimal digits of value, most significant first; none for 0.
int Digits(quint64 value, char16_t* out) {
    char16_t reversed[20];
    int count = 0;
    while (value != 0) {
        reversed[count++] = char16_t(u'0' + value % 10);
        value /= 10;
    }
    for (int i = 0; i < count; ++i) {
        out[i] = reversed[count - 1 - i];
    }
    return count;
}

void AppendDigits(QVarLengthArray<char16_t, 32>& out, int value, int width) {
    char16_t buffer[12];
    const int count = Digits(quint64(value), buffer);
    for (; width > count; --width) {
        out.append(u'0');
    }
    out.append(buffer, count);
}

} // namespace

TNumberMask::TNumberMask(const QString& mask) {
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
        m_prefix = mask;
        return;
    }
    m_prefix = mask.left(first);
    m_suffix = mask.mid(last + 1);
    bool afterPoint = false;
    for (int i = first; i <= last; ++i) {
        const QChar c = mask[i];
        if (c == QLatin1Char('.')) {
            afterPoint = true;
        } else if (c == QLatin1Char(',') && !afterPoint) {
            m_grouping = true;
        } else if (IsPlaceholder(c)) {
            if (afterPoint) {
                ++m_decimals;
                if (c == QLatin1Char('0')) {
                    m_minDecimals = m_decimals;
                }
            } else if (c == QLatin1Char('0')) {
                ++m_minIntegerDigits;
            }
        }
    }
}

QString TNumberMask::Format(qint64 units, int scale, const TFormatSettings& settings) const {
    const bool negative = units < 0;
    quint64 magnitude = negative ? quint64(-(units + 1)) + 1 : quint64(units);

    // Bring the value to the mask's number of decimals, rounding half away from zero.
    if (scale > m_decimals) {
        const quint64 divisor = PowerOfTen(scale - m_decimals);
        magnitude = magnitude / divisor + ((magnitude % divisor) * 2 >= divisor ? 1 : 0);
    } else {
        magnitude *= PowerOfTen(m_decimals - scale);
    }
    const quint64 unit = PowerOfTen(m_decimals);
    const quint64 whole = magnitude / unit;

    // The fraction padded to the mask's decimals, trailing zeros dropped down to the minimum.
    QVarLengthArray<char16_t, 32> fraction;
    int fractionLength = 0;
    if (m_decimals > 0) {
        char16_t remainder[20];
        const int count = Digits(magnitude % unit, remainder);
        fractionLength = std::max(count, m_decimals);
        fraction.resize(fractionLength);
        const int pad = fractionLength - count;
        std::fill_n(fraction.data(), pad, u'0');
        std::copy_n(remainder, count, fraction.data() + pad);
        while (fractionLength > m_minDecimals && fraction[fractionLength - 1] == u'0') {
            --fractionLength;
        }
    }

    char16_t integer[20];
    const int integerCount = whole == 0 ? 0 : Digits(whole, integer);
    const int integerLength = std::max(integerCount, m_minIntegerDigits);
    const int zeros = integerLength - integerCount;

    QVarLengthArray<char16_t, 64> number;
    if (negative && magnitude != 0) {
        number.append(u'-');
    }
    for (int k = 0; k < integerLength; ++k) {
        if (m_grouping && k > 0 && (integerLength - k) % 3 == 0) {
            number.append(settings.ThousandSeparator.unicode());
        }
        number.append(k < zeros ? u'0' : integer[k - zeros]);
    }
    if (fractionLength > 0) {
        number.append(settings.DecimalSeparator.unicode());
        number.append(fraction.constData(), fractionLength);
    }
    QString text(m_prefix.size() + number.size() + m_suffix.size(), Qt::Uninitialized);
    QChar* out = text.data();
    out = std::copy_n(m_prefix.constData(), m_prefix.size(), out);
    out = std::copy_n(reinterpret_cast<const QChar*>(number.constData()), number.size(), out);
    std::copy_n(m_suffix.constData(), m_suffix.size(), out);
    return text;
}

QString FormatNumber(const QString& mask, qint64 units, int scale, const TFormatSettings& settings) {
    return TNumberMask(mask).Format(units, scale, settings);
}

QString FormatDate(const QDate& date, QStringView pattern) {
    if (!date.isValid()) {
        return {};
    }
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    if (year < 1 || year > 9999) {
        return date.toString(pattern);
    }
    QVarLengthArray<char16_t, 32> text;
    const bool plain = ForEachRun(pattern, [&](QChar c, qsizetype run) {
        if (c == QLatin1Char('d') && run <= 2) {
            AppendDigits(text, day, int(run));
        } else if (c == QLatin1Char('M') && run <= 2) {
            AppendDigits(text, month, int(run));
        } else if (c == QLatin1Char('y') && run == 4) {
            AppendDigits(text, year, 4);
        } else if (c == QLatin1Char('y') && run == 2) {
            AppendDigits(text, year % 100, 2);
        } else if (c.isLetter() || c == QLatin1Char('\'')) {
            return false;
        } else {
            for (qsizetype k = 0; k < run; ++k) {
                text.append(c.unicode());
            }
        }
        return true;
    });
    if (!plain) {
        return date.toString(pattern);
    }
    return QString(reinterpret_cast<const QChar*>(text.constData()), text.size());
}
