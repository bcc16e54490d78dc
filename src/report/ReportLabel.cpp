#include "ReportLabel.h"

TReportLabel::TReportLabel(const QString& name, const QString& caption)
    : TReportElement(name), m_caption(caption) {}

QString TReportLabel::Text(const TReportContext&) const {
    return m_caption;
}
