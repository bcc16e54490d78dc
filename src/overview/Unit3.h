#pragma once

#include "report/Report.h"

#include <QString>
#include <array>
#include <memory>

class TReportDataField;
class TReportExpression;
class TReportLabel;
class TReportSysData;

// The inventory list: every item of the item table in its current filter and order, one row each, on
// A4 portrait pages; each page footer shows the page number and the running sum of the values.
// Its texts are Danish in every language.
class TListReport : public TReport {
public:
    TListReport(TTable& dataSet, const TFormatSettings& settings);

    // The category list's prompt while no category has been chosen.
    static const QString NoCategoryChosen;
    // Captions of columns 1 to 4 for an item of the given category value (Danish values only).
    static std::array<QString, 4> CaptionsFor(const QString& kategori);

    // Title and captions of columns 1 to 4 from the category list's text and the current item's category.
    void SetCaptionsFor(const QString& categoryListText, const QString& currentKategori);

    TReportSysData* QRSysData1 = nullptr;        // title
    std::array<TReportLabel*, 7> QRLabel{};      // column captions
    std::array<TReportDataField*, 7> QRDBText{}; // detail fields
    TReportSysData* QRSysData2 = nullptr;        // "Side n"
    TReportExpression* QRExpr1 = nullptr;        // Sum(Vaerdi)
};

// The overview's "Print" up to the preview: a new list report titled and captioned from the category
// list's text and the current item's category, read from the table now.
std::unique_ptr<TListReport> CreateInventoryList(TTable& habitraTable, const QString& categoryListText,
                                                 const TFormatSettings& settings);

// What a printout with no items says instead of showing an empty page, in the active language.
QString EmptyPrintoutText();

// The overview's "Print": lays out the items that the table now passes and shows them in the modal
// preview; returns when the preview closes, with the table's cursor on its last record. With no item to
// list it says so and shows no preview. A long layout shows its progress; cancelled, it shows no preview
// and leaves the table's filter and current item as they were.
void PrintInventoryList(TTable& habitraTable, const QString& categoryListText,
                        const TFormatSettings& settings);
