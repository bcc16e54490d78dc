#include "BilledReportUnit.h"

#include "report/ReportImage.h"
#include "report/ReportLabel.h"

TBilledReport::TBilledReport(TTable* dataSet) {
    SetOrientation(QPageLayout::Landscape);
    SetMargins(QMarginsF(7, 10, 7, 10));
    SetDataSet(dataSet);
    SetPrintIfEmpty(true);

    TReportBand& title = AddBand(rbTitle, 14.0);
    title.SetColor(Qt::white);
    QRLabel1 = title.Add<TReportLabel>(QStringLiteral("QRLabel1"), QStringLiteral("Habitra"));
    QFont font(QStringLiteral("Arial"), 18);
    font.setBold(true);
    QRLabel1->SetFont(font);
    QRLabel1->SetFontColor(QColor(0, 0, 128));
    QRLabel1->SetBounds(0, 1.3, 283.1, 8);
    QRLabel1->SetAlignment(taCenter);
    QRLabel1->SetAlignToBand(true);
    QRLabel1->SetAutoSize(true);
    QRLabel1->SetWordWrap(true);

    // Placed from the page's corner: 7.9 mm from the left edge, 25.1 mm from the top.
    TReportBand& page = AddBand(rbPage, 0);
    QRImage1 = page.Add<TReportImage>(QStringLiteral("QRImage1"));
    QRImage1->SetBounds(7.9, 25.1, 280.7, 173.6);
}
