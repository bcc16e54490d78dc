#include "ReportExpression.h"

#include "ReportContext.h"
#include "ReportError.h"
#include "store/NumberFormat.h"
#include "store/Table.h"

#include <QRegularExpression>

TReportExpression::TReportExpression(const QString& name, const QString& expression, const QString& mask)
    : TReportElement(name), m_expression(expression), m_mask(mask) {}

void TReportExpression::BeginLayout(TReportContext& context, const TReportBand& band) {
    TReportElement::BeginLayout(context, band);
    static const QRegularExpression sumPattern(QStringLiteral("^\\s*sum\\s*\\(\\s*(\\w+)\\s*\\)\\s*$"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression fieldPattern(QStringLiteral("^\\s*(\\w+)\\s*$"));
    QString fieldName;
    if (const auto sum = sumPattern.match(m_expression); sum.hasMatch()) {
        m_isSum = true;
        fieldName = sum.captured(1);
    } else if (const auto field = fieldPattern.match(m_expression); field.hasMatch()) {
        m_isSum = false;
        fieldName = field.captured(1);
    } else {
        throw EReportError(QStringLiteral("The report expression \"%1\" of \"%2\" is not understood; "
                                          "write Sum(Field) or a field name")
                               .arg(m_expression, Name()));
    }
    if (!context.DataSet || !context.DataSet->Active()) {
        throw EReportError(
            QStringLiteral("The report expression \"%1\" has no open dataset").arg(m_expression));
    }
    m_field = context.DataSet->FindField(fieldName);
    if (!m_field) {
        throw EReportError(
            QStringLiteral("The report expression \"%1\" names the field \"%2\", which the table "
                           "\"%3\" does not have")
                .arg(m_expression, fieldName, context.DataSet->TableName()));
    }
    if (m_field->DataType() != ftBCD && m_field->DataType() != ftInteger) {
        throw EReportError(
            QStringLiteral("The report expression \"%1\" needs amounts, but the field \"%2\" holds text")
                .arg(m_expression, m_field->FieldName()));
    }
    m_sum = TMoney();
}

void TReportExpression::Accumulate(TReportContext&) {
    if (m_isSum) {
        m_sum += m_field->AsMoney();
    }
}

TMoney TReportExpression::Value() const {
    if (m_isSum) {
        return m_sum;
    }
    return m_field->DataSet().IsEmpty() ? TMoney() : m_field->AsMoney();
}

void TReportExpression::Place(TReportContext& context, const QRectF& bandRect, TReportPage& page) {
    const TMoney value = Value();
    const QString text =
        m_mask.isEmpty() ? value.ToString(context.Settings) : FormatNumber(m_mask, value, context.Settings);
    PlaceText(text, bandRect, page, value);
}
