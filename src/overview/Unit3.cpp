#include "Unit3.h"

#include "ListLayoutProgress.h"
#include "catalogue/Catalogue.h"
#include "localisation/TextCatalogue.h"
#include "report/ReportDataField.h"
#include "report/ReportError.h"
#include "report/ReportExpression.h"
#include "report/ReportLabel.h"
#include "report/ReportSysData.h"
#include "store/ItemFields.h"
#include "store/Table.h"
#include "toolkit/Dialogs.h"

#include <QApplication>

namespace {
struct TColumn {
    const char* Caption; // UTF-8
    const QString* Field;
    double CaptionLeft; // mm from the band's left edge
    double FieldLeft;
    double FieldWidth;
};

const TColumn Columns[7] = {
    {"Beskrivelse", &ItemField::Beskrivelse, 2.1, 2.1, 40.5},
    {"Fabrikat", &ItemField::Fabrikat, 44.5, 44.5, 25.7},
    {"Model", &ItemField::Model, 72.0, 72.0, 25.7},
    {"Identifikation", &ItemField::Identifikation, 99.0, 99.0, 28.8},
    {"Købssted", &ItemField::Kobssted, 129.1, 129.1, 25.9},
    // Wide enough for a whole "dd-MM-yyyy" date; it ends where the value's box begins.
    {"Købsdato", &ItemField::Kobsdato, 156.6, 156.6, 19.1},
    {"Værdi", &ItemField::Vaerdi, 188.1, 175.7, 22.5},
};

QFont Arial(int points, bool bold = false) {
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(bold);
    return font;
}

// The running sum starts at its column; a sum too wide for the room left there moves left until it
// ends at the band's edge rather than being cut off.
class TSumExpression : public TReportExpression {
public:
    using TReportExpression::TReportExpression;

    void Place(TReportContext& context, const QRectF& bandRect, TReportPage& page) override {
        QRectF unbounded = bandRect;
        unbounded.setRight(bandRect.right() + bandRect.width());
        TReportExpression::Place(context, unbounded, page);
        TReportItem& item = page.Items.back();
        if (item.Rect.right() > bandRect.right()) {
            item.Rect.moveRight(bandRect.right());
        }
    }
};

const QColor Navy(0x00, 0x00, 0x80);
const QColor Silver(0xC0, 0xC0, 0xC0);
} // namespace

const QString TListReport::NoCategoryChosen = QStringLiteral("Vælg kategori");

TListReport::TListReport(TTable& dataSet, const TFormatSettings& settings) {
    SetOrientation(QPageLayout::Portrait);
    SetMargins(QMarginsF(5, 10, 5, 10));
    SetDataSet(&dataSet);
    SetFormatSettings(settings);
    SetPrintIfEmpty(false);

    TReportBand& title = AddBand(rbTitle, 10.6);
    title.SetColor(Qt::white);
    QRSysData1 = title.Add<TReportSysData>(QStringLiteral("QRSysData1"), sdReportTitle);
    QRSysData1->SetBounds(0, 1.1, BandWidth(), 8.0);
    QRSysData1->SetFont(Arial(20));
    QRSysData1->SetFontColor(Navy);
    QRSysData1->SetAlignment(taCenter);
    QRSysData1->SetAlignToBand(true);
    QRSysData1->SetAutoSize(true);

    TReportBand& header = AddBand(rbColumnHeader, 6.1);
    header.SetColor(Silver);
    TReportBand& detail = AddBand(rbDetail, 6.35);
    detail.SetColor(Qt::white);
    for (size_t i = 0; i < 7; ++i) {
        const TColumn& column = Columns[i];
        const QString number = QString::number(i + 1);
        TReportLabel* caption =
            header.Add<TReportLabel>(QStringLiteral("QRLabel") + number, QString::fromUtf8(column.Caption));
        caption->SetBounds(column.CaptionLeft, 0.8, 20, 4.5);
        caption->SetFont(Arial(10, true));
        caption->SetTransparent(true);
        caption->SetAutoSize(true);
        QRLabel[i] = caption;

        TReportDataField* field =
            detail.Add<TReportDataField>(QStringLiteral("QRDBText") + number, *column.Field);
        field->SetBounds(column.FieldLeft, 1.1, column.FieldWidth, 4.5);
        field->SetFont(Arial(10));
        field->SetWordWrap(true);
        field->SetAlignment(i == 6 ? taRightJustify : taLeftJustify);
        QRDBText[i] = field;
    }

    TReportBand& footer = AddBand(rbPageFooter, 6.35);
    footer.SetColor(Qt::white);
    QRSysData2 =
        footer.Add<TReportSysData>(QStringLiteral("QRSysData2"), sdPageNumber, QStringLiteral("Side "));
    QRSysData2->SetBounds((BandWidth() - 20.1) / 2, 1.1, 20.1, 4.5);
    QRSysData2->SetFont(Arial(10));
    QRSysData2->SetAlignment(taCenter);
    QRSysData2->SetAlignToBand(true);
    QRExpr1 = footer.Add<TSumExpression>(QStringLiteral("QRExpr1"), QStringLiteral("Sum(Vaerdi)"),
                                         QStringLiteral("Kr ###,##0.00"));
    QRExpr1->SetBounds(179.4, 1.1, 18.0, 4.5);
    QRExpr1->SetFont(Arial(10));
    QRExpr1->SetAlignment(taLeftJustify);
    QRExpr1->SetAutoSize(true);
}

std::array<QString, 4> TListReport::CaptionsFor(const QString& kategori) {
    const QStringList captions = Catalogue::ListCaptions(kategori);
    return {captions[0], captions[1], captions[2], captions[3]};
}

void TListReport::SetCaptionsFor(const QString& categoryListText, const QString& currentKategori) {
    SetTitle(categoryListText);
    std::array<QString, 4> captions;
    if (categoryListText == NoCategoryChosen) {
        captions = CaptionsFor(QString());
        SetTitle(QStringLiteral("Alle kategorier"));
    } else {
        captions = CaptionsFor(currentKategori);
    }
    for (size_t i = 0; i < captions.size(); ++i) {
        QRLabel[i]->SetCaption(captions[i]);
    }
}

std::unique_ptr<TListReport> CreateInventoryList(TTable& habitraTable, const QString& categoryListText,
                                                 const TFormatSettings& settings) {
    // Read before the report's walk moves the cursor.
    const QString currentKategori =
        habitraTable.IsEmpty() ? QString() : habitraTable.FieldByName(ItemField::Kategori)->AsString();
    auto report = std::make_unique<TListReport>(habitraTable, settings);
    report->SetCaptionsFor(categoryListText, currentKategori);
    return report;
}

QString EmptyPrintoutText() {
    return LocalText("Error.EmptyPrintout", "Der er ingen genstande at udskrive.");
}

void PrintInventoryList(TTable& habitraTable, const QString& categoryListText,
                        const TFormatSettings& settings) {
    habitraTable.CheckBrowseMode();
    if (habitraTable.IsEmpty()) {
        Dialogs::MessageDlg(EmptyPrintoutText(), QMessageBox::Information, {Dialogs::mbOK});
        return;
    }
    const bool filtered = habitraTable.Filtered();
    const TBookmark place = habitraTable.GetBookmark();
    const std::unique_ptr<TListReport> report = CreateInventoryList(habitraTable, categoryListText, settings);
    TListLayoutProgress progress(QApplication::activeWindow());
    try {
        report->Preview(progress.Progress());
    } catch (const EReportCancelled&) {
        // Stopped before the preview: the list and its current item are as the user left them, also
        // when the overview's coming back to the front has switched its filter off.
        progress.Close();
        habitraTable.SetFiltered(filtered);
        if (habitraTable.BookmarkValid(place)) {
            habitraTable.GotoBookmark(place);
        }
    }
}
