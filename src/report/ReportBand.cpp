#include "ReportBand.h"

TReportBand::TReportBand(TReportBandType type, double height) : m_type(type), m_height(height) {}

TReportElement* TReportBand::FindElement(const QString& name) const {
    for (const auto& element : m_elements) {
        if (element->Name().compare(name, Qt::CaseInsensitive) == 0) {
            return element.get();
        }
    }
    return nullptr;
}
