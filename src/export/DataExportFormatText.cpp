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
} // namespace

TDataExportFormatText::TDataExportFormatText(const TFormatSettings& settings, QObject* owner)
    : TDataExportAdvancedText(settings, owner), m_formats(settings) {}

void TDataExportFormatText::BuildColumns() {
    TDataExportAdvancedText::BuildColumns();
    m_formatted.assign(size_t(DataSet()->FieldCount()), {});
    for (TExportColumn& column : MutableColumns()) {
        const auto caption = m_captions.constFind(column.Name);
        if (caption != m_captions.constEnd()) {
            column.Caption = *caption;
        }
        const auto format = m_userFormats.constFind(column.Name);
        column.Format = format != m_userFormats.constEnd()
                            ? *format
                            : TExportColumns::FormatFor(column.ColType, m_formats);
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
    if (FieldOf(column)->IsNull()) {
        return m_formats.NullString;
    }
    if (column.ColType == ectDate || column.ColType == ectTime || column.ColType == ectDateTime) {
        auto& formatted = m_formatted[size_t(column.FieldIndex)];
        auto known = formatted.constFind(col.Text);
        if (known == formatted.constEnd()) {
            known = formatted.insert(col.Text,
                                     FormatText(column.ColType, column.Format, col.Text, FormatSettings()));
        }
        return *known;
    }
    return FormatText(column.ColType, column.Format, col.Text, FormatSettings());
}

QString TDataExportFormatText::FormatText(TExportColType type, const QString& pattern, const QString& text,
                                          const TFormatSettings& settings) {
    switch (type) {
    case ectInteger: {
        bool ok = false;
        const int value = text.toInt(&ok);
        return FormatNumber(pattern, ok ? value : 0, 0, settings);
    }
    case ectBigint: {
        bool ok = false;
        const qint64 value = text.toLongLong(&ok);
        return FormatNumber(pattern, ok ? value : 0, 0, settings);
    }
    case ectFloat:
    case ectCurrency: {
        qint64 units = 0;
        int scale = 0;
        if (!ParseDecimal(text, settings.DecimalSeparator, units, scale)) {
            return {};
        }
        return FormatNumber(pattern, units, scale, settings);
    }
    case ectDate: {
        const QDate date = QDate::fromString(text, settings.ShortDateFormat);
        if (date.isValid()) {
            return date.toString(pattern);
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
