#pragma once

#include "ReportElement.h"

class TField;

// The display text of a field of the report's dataset, for the record current when its band is placed.
class TReportDataField : public TReportElement {
public:
    explicit TReportDataField(const QString& name = {}, const QString& fieldName = {});
    const QString& DataField() const { return m_fieldName; }
    void SetDataField(const QString& fieldName) { m_fieldName = fieldName; }

    void BeginLayout(TReportContext& context, const TReportBand& band) override;

protected:
    QString Text(const TReportContext& context) const override;

private:
    QString m_fieldName;
    TField* m_field = nullptr;
};
