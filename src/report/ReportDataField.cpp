#include "ReportDataField.h"

#include "ReportContext.h"
#include "ReportError.h"
#include "store/Table.h"

TReportDataField::TReportDataField(const QString& name, const QString& fieldName)
    : TReportElement(name), m_fieldName(fieldName) {}

void TReportDataField::BeginLayout(TReportContext& context, const TReportBand& band) {
    TReportElement::BeginLayout(context, band);
    if (!context.DataSet || !context.DataSet->Active()) {
        throw EReportError(QStringLiteral("The report field \"%1\" has no open dataset").arg(Name()));
    }
    m_field = context.DataSet->FindField(m_fieldName);
    if (!m_field) {
        throw EReportError(
            QStringLiteral("The report field \"%1\" names the field \"%2\", which the table \"%3\" "
                           "does not have")
                .arg(Name(), m_fieldName, context.DataSet->TableName()));
    }
}

QString TReportDataField::Text(const TReportContext&) const {
    return m_field->DataSet().IsEmpty() ? QString() : m_field->DisplayText();
}
