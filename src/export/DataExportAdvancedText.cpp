#include "DataExportAdvancedText.h"

void TDataExportAdvancedText::BeginExport() {
    TDataExportText::BeginExport();
    for (const QString& line : std::as_const(m_header)) {
        Writer().WriteLn(line);
    }
}

void TDataExportAdvancedText::EndExport() {
    for (const QString& line : std::as_const(m_footer)) {
        Writer().WriteLn(FooterLine(line));
    }
    TDataExportText::EndExport();
}
