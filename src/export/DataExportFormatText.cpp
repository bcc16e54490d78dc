#include "DataExportFormatText.h"

#include "store/NumberFormat.h"
#include "store/Table.h"

#include <QDateTime>

#include <limits>

namespace {
// Reads "-1234,5", "12" or "1,5E3" with the regional decimal separator as a whole number of 10^-scale.
bool ParseDecimal(const QString& text, QChar decimalSeparator, qint64& units, int& scale) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    quint64 magnitude = 0;
    int digits = 0;
    int decimals = 0;
    bool afterPoint = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            if (digits == 18) {
                return false;
            }
            magnitude = magnitude * 10 + quint64(c.unicode() - '0');
            if (magnitude != 0) {
                ++digits;
            }
            decimals += afterPoint ? 1 : 0;
        } else if (c == decimalSeparator && !afterPoint) {
            afterPoint = true;
        } else {
            break;
        }
    }
    const bool sawDigit = digits > 0 || text.contains(QLatin1Char('0'));
    if (!sawDigit) {
        return false;
    }
    int exponent = 0;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        bool ok = false;
        exponent = text.mid(i + 1).toInt(&ok);
        if (!ok || exponent > 18 || exponent < -18) {
            return false;
        }
        i = n;
    }
    if (i != n) {
        return false;
    }
    scale = decimals - exponent;
    while (scale < 0) {
        if (magnitude > quint64(std::numeric_limits<qint64>::max()) / 10) {
            return false;
        }
        magnitude *= 10;
        ++scale;
    }
    units = negative ? -qint64(magnitude) : qint64(magnitude);
    return true;
}

// "-123" or "123" with at most maxDigits digits, the common case of a stored whole number; anything else
// is left to QString's own reading.
bool PlainInteger(const QString& text, int maxDigits, qint64& value) {
    const qsizetype sign = !text.isEmpty() && text[0] == QLatin1Char('-') ? 1 : 0;
    const qsizetype digits = text.size() - sign;
    if (digits < 1 || digits > maxDigits) {
        return false;
    }
    qint64 result = 0;
    for (qsizetype i = sign; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return false;
        }
        result = result * 10 + (c - u'0');
    }
    value = sign != 0 ? -result : result;
    return true;
}

bool TwoDigits(QStringView text, qsizetype at, int& value) {
    int result = 0;
    for (qsizetype i = at; i < at + 2; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return false;
        }
        result = result * 10 + (c - u'0');
    }
    value = result;
    return true;
}

// Reads a date written exactly as a pattern of dd, MM, yyyy and punctuation writes it (fixed widths,
// so the reading is the one QDate::fromString gives); false for any other pattern or text.
bool ParseFixedDate(QStringView text, QStringView pattern, QDate& date) {
    int year = -1;
    int month = -1;
    int day = -1;
    qsizetype t = 0;
    for (qsizetype p = 0; p < pattern.size();) {
        const QStringView rest = pattern.sliced(p);
        if (rest.startsWith(u"yyyy") && (rest.size() == 4 || rest[4] != QLatin1Char('y'))) {
            int high = 0;
            int low = 0;
            if (year >= 0 || t + 4 > text.size() || !TwoDigits(text, t, high) ||
                !TwoDigits(text, t + 2, low)) {
                return false;
            }
            year = high * 100 + low;
            p += 4;
            t += 4;
        } else if ((rest.startsWith(u"dd") || rest.startsWith(u"MM")) &&
                   (rest.size() == 2 || rest[2] != rest[0])) {
            int& field = rest[0] == QLatin1Char('d') ? day : month;
            if (field >= 0 || t + 2 > text.size() || !TwoDigits(text, t, field)) {
                return false;
            }
            p += 2;
            t += 2;
        } else {
            const char16_t c = rest[0].unicode();
            const bool punctuation = c > u' ' && c < 0x7F && !QChar(c).isLetterOrNumber() && c != u'\'';
            if (!punctuation || t >= text.size() || text[t] != rest[0]) {
                return false;
            }
            ++p;
            ++t;
        }
    }
    if (t != text.size() || year < 1 || month < 0 || day < 0) {
        return false;
    }
    date = QDate(year, month, day);
    return date.isValid();
}

// Whether a date written in the pattern reads back as the same date, so that reading and writing it
// again gives the same text: one each of dd or d, MM or M, and yyyy, between punctuation.
bool ReadsBackAsWritten(QStringView pattern) {
    int days = 0;
    int months = 0;
    int years = 0;
    const bool plain = ForEachRun(pattern, [&](QChar c, qsizetype run) {
        if (c == QLatin1Char('d') && run <= 2) {
            ++days;
        } else if (c == QLatin1Char('M') && run <= 2) {
            ++months;
        } else if (c == QLatin1Char('y') && run == 4) {
            ++years;
        } else if (c.unicode() <= u' ' || c.isLetterOrNumber() || c == QLatin1Char('\'')) {
            return false;
        }
        return true;
    });
    return plain && days == 1 && months == 1 && years == 1;
}
} // namespace

TDataExportFormatText::TDataExportFormatText(const TFormatSettings& settings, QObject* owner)
    : TDataExportAdvancedText(settings, owner), m_formats(settings) {}

void TDataExportFormatText::BuildColumns() {
    TDataExportAdvancedText::BuildColumns();
    m_dateAsWritten.assign(size_t(DataSet()->FieldCount()), false);
    m_masks.assign(size_t(DataSet()->FieldCount()), {});
    for (TExportColumn& column : MutableColumns()) {
        const auto caption = m_captions.constFind(column.Name);
        if (caption != m_captions.constEnd()) {
            column.Caption = *caption;
        }
        const auto format = m_userFormats.constFind(column.Name);
        column.Format = format != m_userFormats.constEnd()
                            ? *format
                            : TExportColumns::FormatFor(column.ColType, m_formats);
        const QString& fieldPattern = DataSet()->FormatSettings().ShortDateFormat;
        m_dateAsWritten[size_t(column.FieldIndex)] =
            column.ColType == ectDate && DataSet()->Fields(column.FieldIndex)->DataType() == ftDate &&
            column.Format == fieldPattern && FormatSettings().ShortDateFormat == fieldPattern &&
            ReadsBackAsWritten(fieldPattern);
    }
}

void TDataExportFormatText::WriteCaptions() {
    if (!m_allowCaptions) {
        return;
    }
    const QString line = BuildCaptions();
    if (!line.isEmpty()) {
        Writer().WriteLn(line);
    }
}

QString TDataExportFormatText::FormatData(const TExportColumn& column, const TExportCol& col) {
    if (col.Changed) {
        return col.Text;
    }
    if (col.Null) {
        return m_formats.NullString;
    }
    if (column.ColType == ectDate && m_dateAsWritten[size_t(column.FieldIndex)]) {
        return col.Text;
    }
    switch (column.ColType) {
    case ectInteger:
    case ectBigint:
    case ectFloat:
    case ectCurrency: {
        TColumnMask& mask = m_masks[size_t(column.FieldIndex)];
        if (mask.Pattern.isNull() || mask.Pattern.constData() != column.Format.constData() ||
            mask.Pattern.size() != column.Format.size()) {
            mask.Pattern = column.Format;
            mask.Mask = TNumberMask(column.Format);
        }
        return FormatNumberText(column.ColType, mask.Mask, col.Text, FormatSettings());
    }
    default:
        return FormatText(column.ColType, column.Format, col.Text, FormatSettings());
    }
}

QString TDataExportFormatText::FormatNumberText(TExportColType type, const TNumberMask& mask,
                                                const QString& text, const TFormatSettings& settings) {
    if (type == ectInteger || type == ectBigint) {
        qint64 plain = 0;
        if (PlainInteger(text, type == ectInteger ? 9 : 18, plain)) {
            return mask.Format(plain, 0, settings);
        }
    }
    if (type == ectInteger) {
        bool ok = false;
        const int value = text.toInt(&ok);
        return mask.Format(ok ? value : 0, 0, settings);
    }
    if (type == ectBigint) {
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        return mask.Format(ok ? value : 0, 0, settings);
    }
    qint64 units = 0;
    int scale = 0;
    if (!ParseDecimal(text, settings.DecimalSeparator, units, scale)) {
        return {};
    }
    return mask.Format(units, scale, settings);
}

QString TDataExportFormatText::FormatText(TExportColType type, const QString& pattern, const QString& text,
                                          const TFormatSettings& settings) {
    switch (type) {
    case ectInteger:
    case ectBigint:
    case ectFloat:
    case ectCurrency:
        return FormatNumberText(type, TNumberMask(pattern), text, settings);
    case ectDate: {
        QDate date;
        if (ParseFixedDate(text, settings.ShortDateFormat, date)) {
            return FormatDate(date, pattern);
        }
        date = QDate::fromString(text, settings.ShortDateFormat);
        if (date.isValid()) {
            return FormatDate(date, pattern);
        }
        const QDateTime dateTime = QDateTime::fromString(text, settings.ShortDateFormat + QLatin1Char(' ') +
                                                                   settings.LongTimeFormat);
        return dateTime.isValid() ? dateTime.date().toString(pattern) : QString();
    }
    case ectTime: {
        QTime time = QTime::fromString(text, settings.LongTimeFormat);
        if (!time.isValid()) {
            time = QTime::fromString(text, settings.ShortTimeFormat);
        }
        return time.isValid() ? time.toString(pattern) : QString();
    }
    case ectDateTime: {
        QDateTime dateTime = QDateTime::fromString(text, settings.ShortDateFormat + QLatin1Char(' ') +
                                                             settings.LongTimeFormat);
        if (!dateTime.isValid()) {
            const QDate date = QDate::fromString(text, settings.ShortDateFormat);
            dateTime = date.isValid() ? date.startOfDay() : QDateTime();
        }
        return dateTime.isValid() ? dateTime.toString(pattern) : QString();
    }
    case ectString:
    case ectBoolean:
    case ectUnknown:
        break;
    }
    return text;
}
