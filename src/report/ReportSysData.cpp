#include "ReportSysData.h"

#include "ReportContext.h"

TReportSysData::TReportSysData(const QString& name, TReportSysDataKind data, const QString& prefix)
    : TReportElement(name), m_data(data), m_prefix(prefix) {}

QString TReportSysData::Text(const TReportContext& context) const {
    switch (m_data) {
    case sdPageNumber:
        return m_prefix + QString::number(context.PageNumber);
    case sdReportTitle:
        return m_prefix + context.ReportTitle;
    }
    return m_prefix;
}
