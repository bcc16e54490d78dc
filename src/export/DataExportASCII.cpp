#include "DataExportASCII.h"

#include "ExportError.h"

#include <algorithm>

void TDataExportASCII::CheckType() const {
    if (m_exportType != etCSV) {
        throw EExportError(QStringLiteral("Export type not supported"));
    }
}

void TDataExportASCII::RunExport() {
    CheckType();
    TDataExportFormatText::RunExport();
}

qsizetype TDataExportASCII::QuotedLength(const QString& text) const {
    if (!m_csvQuoteStrings) {
        return text.size();
    }
    const char16_t quote = m_csvQuote.unicode();
    qsizetype length = text.size() + 2;
    for (const QChar c : text) {
        length += c.unicode() == quote ? 1 : 0;
    }
    return length;
}

QChar* TDataExportASCII::WriteQuoted(QChar* out, const QString& text) const {
    if (!m_csvQuoteStrings) {
        return std::copy_n(text.constData(), text.size(), out);
    }
    *out++ = m_csvQuote;
    for (const QChar c : text) {
        *out++ = c;
        if (c == m_csvQuote) {
            *out++ = c;
        }
    }
    *out++ = m_csvQuote;
    return out;
}

void TDataExportASCII::AppendQuoted(QString& line, const QString& text) const {
    const qsizetype start = line.size();
    line.resize(start + QuotedLength(text));
    WriteQuoted(line.data() + start, text);
}

QString TDataExportASCII::BuildCaptions() {
    QString line;
    for (const TExportColumn& column : Columns()) {
        AppendQuoted(line, FormatCaption(column));
        line += m_csvComma;
    }
    line.chop(1);
    return line;
}

QString TDataExportASCII::BuildData() {
    // Every cell followed by the separator, then the last character dropped; written in one piece into
    // a buffer kept from line to line (the writer has copied the previous line by now).
    const TExportRow& row = Row();
    const int count = Columns().Count();
    m_cells.resize(size_t(count));
    qsizetype length = qsizetype(count) * m_csvComma.size();
    for (int i = 0; i < count; ++i) {
        m_cells[size_t(i)] = FormatData(Columns().Items(i), row.Items(i));
        length += QuotedLength(m_cells[size_t(i)]);
    }
    m_line.resize(length);
    QChar* out = m_line.data();
    for (QString& cell : m_cells) {
        out = WriteQuoted(out, cell);
        out = std::copy_n(m_csvComma.constData(), m_csvComma.size(), out);
        // Let go of the cell, so that the row's next text can reuse the buffer it shares.
        cell = QString();
    }
    m_line.chop(1);
    return m_line;
}

QString TDataExportASCII::FooterLine(const QString& line) {
    return line + m_csvComma;
}
