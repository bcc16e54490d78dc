#pragma once

#include "DataExportText.h"

#include <QStringList>

// Adds free text lines before the captions and after the last record.
class TDataExportAdvancedText : public TDataExportText {
    Q_OBJECT
public:
    using TDataExportText::TDataExportText;

    const QStringList& Header() const { return m_header; }
    void SetHeader(const QStringList& lines) { m_header = lines; }
    const QStringList& Footer() const { return m_footer; }
    void SetFooter(const QStringList& lines) { m_footer = lines; }

protected:
    void BeginExport() override;
    void EndExport() override;
    virtual QString FooterLine(const QString& line) { return line; }

private:
    QStringList m_header;
    QStringList m_footer;
};
