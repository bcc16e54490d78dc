#pragma once

#include "InsuranceItem.h"
#include "InsuranceOwner.h"
#include "pictures/PictureFolder.h"
#include "report/ReportBand.h"
#include "report/ReportPage.h"
#include "store/Error.h"
#include "store/FormatSettings.h"

#include <QDate>
#include <QImage>
#include <QPageLayout>
#include <QSize>
#include <QStringList>
#include <functional>
#include <vector>

class QIODevice;
class QPagedPaintDevice;
class QPainter;
class TReportLabel;

// The report could not be written where the user asked; nothing is left under the chosen name.
class EInsuranceReportError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

// The user cancelled the run; nothing was written.
class EInsuranceReportCancelled : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

// The document an insurer asks for after a loss, on A4 portrait: a cover page with the owner's
// details, the number of items and their total value; a summary by category; then one block per item
// with its photo, every field and its notes, several to a page. Every page carries the owner's name,
// the date printed and "page n of m".
//
// Laying out reads no picture: photos are decoded page by page while painting, each at the size it is
// printed, so a register of camera photos never sits in memory whole.
class TInsuranceReport {
public:
    // Called before each item's block is painted with the items done and all of them; returns false to
    // stop at once (the run then raises EInsuranceReportCancelled).
    using TProgress = std::function<bool(int done, int total)>;

    TInsuranceReport(std::vector<TInsuranceItem> items, const TInsuranceOwner& owner,
                     const TFormatSettings& settings, const TPictureFolder& pictures);
    ~TInsuranceReport();
    TInsuranceReport(const TInsuranceReport&) = delete;
    TInsuranceReport& operator=(const TInsuranceReport&) = delete;

    // What the cover says the report covers ("Alle genstande", a category, "Udvalgte genstande").
    void SetScopeText(const QString& text) { m_scopeText = text; }
    void SetDate(const QDate& date) { m_date = date; }
    const std::vector<TInsuranceItem>& Items() const { return m_items; }
    const TInsuranceTotals& Totals() const { return m_totals; }

    // Pages as laid out, photos not yet loaded; laid out on first use.
    const std::vector<TReportPage>& Pages();
    QPageLayout PageLayout() const;
    // The photo box's size in mm and the pixels a photo is decoded to at least.
    static QSizeF PhotoBox();
    static QSize PhotoPixels();

    // Paints every page on a printer or PDF writer. Raises EInsuranceReportCancelled when the progress
    // says stop, EReportError when the device cannot be opened.
    void Paint(QPagedPaintDevice& device, const TProgress& progress = {});
    // Writes a PDF beside `path` and renames it to `path` once whole; a cancelled or failed run leaves
    // no file of that name (and an older one there unchanged). EInsuranceReportError names the cause.
    void SaveToPdf(const QString& path, const TProgress& progress = {});
    // Shows the modal preview, from which the user prints; returns when it closes.
    void Preview(const TProgress& progress = {});

    // Items whose picture file exists but could not be read during the last paint: "12.jpg: reason".
    const QStringList& UnreadablePictures() const { return m_unreadable; }

    // Every photo of the report is loaded here, scaled at decoding to cover `atLeast`.
    static QImage LoadPhoto(const QString& path, const QSize& atLeast);

private:
    struct TPhotoSlot {
        size_t ItemIndex = 0;
        size_t PictureItem = 0; // index of the picture's item in its page's items
        QString Path;
    };

    void Prepare();
    void LayOut();
    void LayOutCover();
    void LayOutSummary();
    void LayOutItems();
    double LayOutBlock(const TInsuranceItem& item, size_t index, double top);
    double BlockHeight(const TInsuranceItem& item);
    void BeginPage(bool withHeader);
    void PlaceFooters();
    // Places `text` through `element` in a box `width` mm wide at (x, y); returns its height.
    double Put(TReportLabel* element, const QString& text, double x, double y, double width);
    void PutRule(double x, double y, double width, double height, const QColor& color);
    QString Money(TMoney value) const;
    TReportPage PageWithPhotos(size_t page, int& done, const TProgress& progress);

    std::vector<TInsuranceItem> m_items;
    TInsuranceOwner m_owner;
    TFormatSettings m_settings;
    TPictureFolder m_pictures;
    TInsuranceTotals m_totals;
    QString m_scopeText;
    QDate m_date;

    TReportBand m_band;
    TReportLabel* m_title = nullptr;
    TReportLabel* m_subtitle = nullptr;
    TReportLabel* m_heading = nullptr;
    TReportLabel* m_caption = nullptr;
    TReportLabel* m_value = nullptr;
    TReportLabel* m_strongValue = nullptr;
    TReportLabel* m_amount = nullptr;
    TReportLabel* m_strongAmount = nullptr;
    TReportLabel* m_itemTitle = nullptr;
    TReportLabel* m_notes = nullptr;
    TReportLabel* m_noPhoto = nullptr;
    TReportLabel* m_pageHeader = nullptr;
    TReportLabel* m_footerLeft = nullptr;
    TReportLabel* m_footerCentre = nullptr;
    TReportLabel* m_footerRight = nullptr;
    std::shared_ptr<TReportStyle> m_photoStyle;
    std::shared_ptr<TReportStyle> m_noPhotoStyle;

    bool m_laidOut = false;
    std::vector<TReportPage> m_pages;
    std::vector<std::vector<TPhotoSlot>> m_slots; // by page
    double m_y = 0;
    QStringList m_unreadable;
};
