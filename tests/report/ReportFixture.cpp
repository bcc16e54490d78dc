#include "ReportFixture.h"

#include "report/ReportDataField.h"
#include "report/ReportExpression.h"
#include "report/ReportFonts.h"
#include "report/ReportLabel.h"
#include "report/ReportSysData.h"
#include "store/Schema.h"

#include <QPrinter>
#include <QProcess>

TReportFixture::TReportFixture() {
    ReportFonts::Install();
    m_table.SetDatabaseName(m_folder.DataPath());
    m_table.SetTableName(Schema::ItemFile);
    m_table.SetFormatSettings(TFormatSettings::Danish());
    m_table.Open();
}

void TReportFixture::AddItem(const QString& description, qint64 valueCents, const QString& category,
                             const QString& make) {
    m_table.Append();
    m_table.FieldByName(QStringLiteral("Beskrivelse"))->SetAsString(description);
    m_table.FieldByName(QStringLiteral("Fabrikat"))->SetAsString(make);
    m_table.FieldByName(QStringLiteral("Kategori"))->SetAsString(category);
    m_table.FieldByName(QStringLiteral("Kobsdato"))->SetAsDate(QDate(2004, 3, 1));
    m_table.FieldByName(QStringLiteral("Vaerdi"))->SetAsMoney(TMoney::FromCents(valueCents));
    m_table.Post();
}

std::unique_ptr<TReport> TReportFixture::ListReport(TTable& table, const TFormatSettings& settings) {
    auto report = std::make_unique<TReport>();
    report->SetMargins(QMarginsF(5, 10, 5, 10));
    report->SetDataSet(&table);
    report->SetFormatSettings(settings);
    report->SetPrintIfEmpty(false);
    report->SetTitle(QStringLiteral("Alle kategorier"));

    TReportBand& title = report->AddBand(rbTitle, 10.6);
    auto* heading = title.Add<TReportSysData>(QStringLiteral("Titel"), sdReportTitle);
    heading->SetBounds(0, 1.1, 40, 8);
    heading->SetFont(QFont(QStringLiteral("Arial"), 20));
    heading->SetFontColor(QColor(Qt::darkBlue));
    heading->SetAlignment(taCenter);
    heading->SetAlignToBand(true);
    heading->SetAutoSize(true);

    struct TColumn {
        const char* caption;
        const char* field;
        double captionLeft;
        double fieldLeft;
        double width;
    };
    static const TColumn columns[] = {
        {"Beskrivelse", "Beskrivelse", 2.1, 2.1, 40.5},
        {"Fabrikat", "Fabrikat", 44.5, 44.5, 25.7},
        {"Model", "Model", 72.0, 72.0, 25.7},
        {"Identifikation", "Identifikation", 99.0, 99.0, 28.8},
        {"Købssted", "Kobssted", 129.1, 129.1, 25.9},
        {"Købsdato", "Kobsdato", 156.6, 156.6, 17.2},
        {"Værdi", "Vaerdi", 188.1, 175.7, 22.5},
    };
    TReportBand& header = report->AddBand(rbColumnHeader, 6.1);
    header.SetColor(QColor(Qt::lightGray));
    TReportBand& detail = report->AddBand(rbDetail, 6.35);
    int number = 1;
    for (const TColumn& column : columns) {
        QFont bold(QStringLiteral("Arial"), 10);
        bold.setBold(true);
        auto* caption = header.Add<TReportLabel>(QStringLiteral("Caption%1").arg(number),
                                                 QString::fromUtf8(column.caption));
        caption->SetBounds(column.captionLeft, 0.8, 20, 4.5);
        caption->SetFont(bold);
        caption->SetTransparent(true);
        caption->SetAutoSize(true);
        auto* field = detail.Add<TReportDataField>(QStringLiteral("Field%1").arg(number),
                                                   QString::fromLatin1(column.field));
        field->SetBounds(column.fieldLeft, 1.1, column.width, 4.5);
        field->SetWordWrap(true);
        field->SetAlignment(number == 7 ? taRightJustify : taLeftJustify);
        ++number;
    }
    TReportBand& footer = report->AddBand(rbPageFooter, 6.35);
    auto* pageNumber =
        footer.Add<TReportSysData>(QStringLiteral("PageNumber"), sdPageNumber, QStringLiteral("Side "));
    pageNumber->SetBounds(0, 1.1, 20.1, 4.5);
    pageNumber->SetAlignment(taCenter);
    pageNumber->SetAlignToBand(true);
    auto* sum = footer.Add<TReportExpression>(QStringLiteral("Sum"), QStringLiteral("Sum(Vaerdi)"),
                                              QStringLiteral("Kr ###,##0.00"));
    sum->SetBounds(179.4, 1.1, 15, 4.5);
    sum->SetAutoSize(true);
    return report;
}

void TPdfPreviewPlatform::PrintPreview(QPrinter& printer, const std::function<void(QPrinter&)>& paint) {
    ++Previews;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_path);
    paint(printer);
}

TPlatformScope::TPlatformScope(std::unique_ptr<TPlatform> platform)
    : m_previous(TPlatform::Install(std::move(platform))) {}

TPlatformScope::~TPlatformScope() {
    TPlatform::Install(std::move(m_previous));
}

QString PdfText(const QString& path, bool* ran) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    *ran = process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
    return QString::fromUtf8(process.readAllStandardOutput());
}
