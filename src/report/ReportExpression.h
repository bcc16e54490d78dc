#pragma once

#include "ReportElement.h"

class TField;

// An amount computed from the dataset, shown through a display mask ("Kr ###,##0.00") with the
// report's regional separators. "Sum(Field)" is a running sum over the detail records printed so far,
// never reset; a bare field name is that field's amount in the current record.
class TReportExpression : public TReportElement {
public:
    explicit TReportExpression(const QString& name = {}, const QString& expression = {},
                               const QString& mask = {});
    const QString& Expression() const { return m_expression; }
    void SetExpression(const QString& expression) { m_expression = expression; }
    const QString& Mask() const { return m_mask; }
    void SetMask(const QString& mask) { m_mask = mask; }

    void BeginLayout(TReportContext& context, const TReportBand& band) override;
    void Accumulate(TReportContext& context) override;
    void Place(TReportContext& context, const QRectF& bandRect, TReportPage& page) override;

private:
    TMoney Value() const;

    QString m_expression;
    QString m_mask;
    TField* m_field = nullptr;
    bool m_isSum = false;
    TMoney m_sum;
};
