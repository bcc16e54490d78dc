#pragma once

#include "DataExportFormatText.h"

#include <vector>

enum TExportASCIIType { etCSV, etTXT, etDIF, etSYLK };

// Delimited text: every value between quote characters, values separated by CSVComma, lines ended by
// CR LF. Only the delimited form (etCSV) is written; the other types are refused.
class TDataExportASCII : public TDataExportFormatText {
    Q_OBJECT
public:
    using TDataExportFormatText::TDataExportFormatText;

    TExportASCIIType ExportType() const { return m_exportType; }
    void SetExportType(TExportASCIIType type) { m_exportType = type; }
    const QString& CSVComma() const { return m_csvComma; }
    void SetCSVComma(const QString& comma) { m_csvComma = comma; }
    QChar CSVQuote() const { return m_csvQuote; }
    void SetCSVQuote(QChar quote) { m_csvQuote = quote; }
    bool CSVQuoteStrings() const { return m_csvQuoteStrings; }
    void SetCSVQuoteStrings(bool value) { m_csvQuoteStrings = value; }

    void RunExport() override;

    // Appends the value between quotes, each quote inside doubled (as it stands when quoting is off).
    void AppendQuoted(QString& line, const QString& text) const;

protected:
    QString BuildCaptions() override;
    QString BuildData() override;
    QString FooterLine(const QString& line) override;

private:
    void CheckType() const;
    qsizetype QuotedLength(const QString& text) const;
    QChar* WriteQuoted(QChar* out, const QString& text) const;

    TExportASCIIType m_exportType = etCSV;
    QString m_csvComma = QStringLiteral(";");
    QChar m_csvQuote = QLatin1Char('"');
    bool m_csvQuoteStrings = true;
    QString m_line;
    std::vector<QString> m_cells;
};
