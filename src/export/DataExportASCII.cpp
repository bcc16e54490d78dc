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

QString TDataExportASCII::Quoted(const QString& text) const {
    if (!m_csvQuoteStrings) {
        return text;
    }
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += m_csvQuote;
    if (text.contains(m_csvQuote)) {
        quoted += QString(text).replace(m_csvQuote, QString(2, m_csvQuote));
    } else {
        quoted += text;
    }
    quoted += m_csvQuote;
    return quoted;
}

QString TDataExportASCII::BuildCaptions() {
    QString line;
    for (const TExportColumn& column : Columns()) {
        line += Quoted(FormatCaption(column));
        line += m_csvComma;
    }
    line.chop(1);
    return line;
}

QString TDataExportASCII::BuildData() {
    QString line;
    const TExportRow& row = Row();
    for (int i = 0; i < Columns().Count(); ++i) {
        line += Quoted(FormatData(Columns().Items(i), row.Items(i)));
        line += m_csvComma;
    }
    line.chop(1);
    return line;
}

QString TDataExportASCII::FooterLine(const QString& line) {
    return line + m_csvComma;
}
