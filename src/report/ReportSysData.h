#pragma once

#include "ReportElement.h"

enum TReportSysDataKind { sdPageNumber, sdReportTitle };

// A value the report itself knows, after a prefix text: "Side " and the page number.
class TReportSysData : public TReportElement {
public:
    explicit TReportSysData(const QString& name = {}, TReportSysDataKind data = sdPageNumber,
                            const QString& prefix = {});
    TReportSysDataKind Data() const { return m_data; }
    void SetData(TReportSysDataKind data) { m_data = data; }
    const QString& Prefix() const { return m_prefix; }
    void SetPrefix(const QString& prefix) { m_prefix = prefix; }

protected:
    QString Text(const TReportContext& context) const override;

private:
    TReportSysDataKind m_data;
    QString m_prefix;
};
