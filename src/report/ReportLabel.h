#pragma once

#include "ReportElement.h"

// A fixed text.
class TReportLabel : public TReportElement {
public:
    explicit TReportLabel(const QString& name = {}, const QString& caption = {});
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& caption) { m_caption = caption; }

protected:
    QString Text(const TReportContext& context) const override;

private:
    QString m_caption;
};
