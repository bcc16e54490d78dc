#include "DataExportASCII.h"

#include "ExportError.h"

void TDataExportASCII::CheckType() const {
    if (m_exportType != etCSV) {
        throw EExportError(QStringLiteral("Export type not supported"));
    }
}

void TDataExportASCII::RunExport() {
    CheckType();
    TDataExportFormatText::RunExport();
}

void TDataExportASCII::AppendQuoted(QString& line, const QString& text) const {
    if (!m_csvQuoteStrings) {
        line += text;
        return;
    }
    line += m_csvQuote;
    if (text.contains(m_csvQuote)) {
        for (const QChar c : text) {
            line += c;
            if (c == m_csvQuote) {
                line += c;
            }
        }
    } else {
        line += text;
    }
    line += m_csvQuote;
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
    QString line;
    line.reserve(256);
    const TExportRow& row = Row();
    for (int i = 0; i < Columns().Count(); ++i) {
        AppendQuoted(line, FormatData(Columns().Items(i), row.Items(i)));
        line += m_csvComma;
    }
    line.chop(1);
    return line;
}

QString TDataExportASCII::FooterLine(const QString& line) {
    return line + m_csvComma;
}
