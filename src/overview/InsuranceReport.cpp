#include "InsuranceReport.h"

#include "localisation/TextCatalogue.h"
#include "pictures/JpegLoader.h"
#include "report/ReportContext.h"
#include "report/ReportError.h"
#include "report/ReportLabel.h"
#include "report/ReportPainter.h"
#include "store/NumberFormat.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/Platform.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <cmath>

namespace {
// A4 portrait, millimetres.
constexpr double PageWidth = 210.0;
constexpr double PageHeight = 297.0;
constexpr double Left = 15.0;
constexpr double Right = PageWidth - 15.0;
constexpr double Width = Right - Left;
constexpr double Top = 12.0;
constexpr double FooterTop = PageHeight - 12.0 - 4.5;
constexpr double ContentTop = Top + 9.0;
constexpr double ContentBottom = FooterTop - 3.0;
constexpr double PhotoWidth = 70.0;
constexpr double PhotoHeight = 52.5;
constexpr double TextLeft = Left + PhotoWidth + 6.0;
constexpr double TextWidth = Right - TextLeft;
constexpr double CaptionWidth = 28.0;
constexpr double BlockGap = 6.0;
// Photos go to paper at this resolution: sharp in print, small in a PDF.
constexpr double PhotoDpi = 150.0;

const QColor Navy(0x00, 0x00, 0x80);
const QColor Grey(0x60, 0x60, 0x60);
const QColor Rule(0xB0, 0xB0, 0xB0);
const QColor PhotoGround(0xF2, 0xF2, 0xF2);
const QColor Silver(0xC0, 0xC0, 0xC0);

QFont Arial(double points, bool bold = false, bool italic = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QString OrDash(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("–") : text;
}
} // namespace

TInsuranceReport::TInsuranceReport(std::vector<TInsuranceItem> items, const TInsuranceOwner& owner,
                                   const TFormatSettings& settings, const TPictureFolder& pictures)
    : m_items(std::move(items)), m_owner(owner), m_settings(settings), m_pictures(pictures),
      m_totals(InsuranceTotals(m_items)), m_date(QDate::currentDate()), m_band(rbPage, PageHeight) {
    const auto label = [this](const char* name, const QFont& font, TReportAlignment alignment, bool autoSize,
                              const QColor& colour = Qt::black) {
        auto* element = m_band.Add<TReportLabel>(QString::fromLatin1(name));
        element->SetFont(font);
        element->SetFontColor(colour);
        element->SetAlignment(alignment);
        element->SetAlignToBand(alignment == taCenter);
        element->SetAutoSize(autoSize);
        element->SetWordWrap(true);
        element->SetTransparent(true);
        return element;
    };
    m_title = label("Title", Arial(28, true), taCenter, true, Navy);
    m_subtitle = label("Subtitle", Arial(14), taCenter, true, Navy);
    m_heading = label("Heading", Arial(16, true), taLeftJustify, true, Navy);
    m_caption = label("Caption", Arial(9, true), taLeftJustify, true, Grey);
    m_value = label("Value", Arial(10), taLeftJustify, true);
    m_strongValue = label("StrongValue", Arial(10, true), taLeftJustify, true);
    m_amount = label("Amount", Arial(10), taRightJustify, false);
    m_strongAmount = label("StrongAmount", Arial(10, true), taRightJustify, false);
    m_itemTitle = label("ItemTitle", Arial(12, true), taLeftJustify, true, Navy);
    m_notes = label("Notes", Arial(9.5), taLeftJustify, true);
    m_noPhoto = label("NoPhoto", Arial(9, false, true), taCenter, true, Grey);
    m_pageHeader = label("PageHeader", Arial(9, true), taLeftJustify, true, Navy);
    m_footerLeft = label("FooterLeft", Arial(8.5), taLeftJustify, true);
    m_footerCentre = label("FooterCentre", Arial(8.5), taCenter, true);
    m_footerRight = label("FooterRight", Arial(8.5), taRightJustify, false);
}

TInsuranceReport::~TInsuranceReport() = default;

QSizeF TInsuranceReport::PhotoBox() {
    return {PhotoWidth, PhotoHeight};
}

QSize TInsuranceReport::PhotoPixels() {
    return {int(std::ceil(PhotoWidth / 25.4 * PhotoDpi)), int(std::ceil(PhotoHeight / 25.4 * PhotoDpi))};
}

QImage TInsuranceReport::LoadPhoto(const QString& path, const QSize& atLeast) {
    // The photo is printed whole inside the box, so it needs the box's pixels only along the side
    // that meets the box: a portrait photo in the landscape box is decoded half as large.
    const QSize upright = ReadJpegHeader(path).Upright;
    return LoadJpegScaled(path, upright.scaled(atLeast, Qt::KeepAspectRatio).boundedTo(upright));
}

QPageLayout TInsuranceReport::PageLayout() const {
    return TReportPainter::PageLayout(QSizeF(PageWidth, PageHeight), QPageLayout::Portrait);
}

const std::vector<TReportPage>& TInsuranceReport::Pages() {
    if (!m_laidOut) {
        LayOut();
        m_laidOut = true;
    }
    return m_pages;
}

QString TInsuranceReport::Money(TMoney value) const {
    return FormatNumber(QStringLiteral("Kr ###,##0.00"), value, m_settings);
}

void TInsuranceReport::Prepare() {
    TReportContext context;
    context.Settings = m_settings;
    for (const auto& element : m_band.Elements()) {
        element->BeginLayout(context, m_band);
    }
    m_photoStyle = std::make_shared<TReportStyle>();
    m_photoStyle->Name = QStringLiteral("Photo");
    // The style of a line that stands in for a photo, for pictures found unreadable while painting.
    TReportPage scratch;
    Put(m_noPhoto, QStringLiteral("-"), 0, 0, PhotoWidth);
    scratch.Items.swap(m_pages.back().Items);
    m_noPhotoStyle = std::make_shared<TReportStyle>(*scratch.Items.front().Style);
}

void TInsuranceReport::LayOut() {
    m_pages.clear();
    m_slots.clear();
    m_pages.emplace_back(); // scratch for Prepare
    m_slots.emplace_back();
    Prepare();
    m_pages.clear();
    m_slots.clear();
    LayOutCover();
    LayOutSummary();
    LayOutItems();
    PlaceFooters();
}

void TInsuranceReport::BeginPage(bool withHeader) {
    TReportPage page;
    page.Number = int(m_pages.size()) + 1;
    page.Size = QSizeF(PageWidth, PageHeight);
    page.Orientation = QPageLayout::Portrait;
    m_pages.push_back(std::move(page));
    m_slots.emplace_back();
    m_y = ContentTop;
    if (withHeader) {
        Put(m_pageHeader, LocalText("InsuranceTitle", "Forsikringsrapport"), Left, Top, Width);
        PutRule(Left, Top + 5.5, Width, 0.3, Navy);
    }
}

double TInsuranceReport::Put(TReportLabel* element, const QString& text, double x, double y, double width) {
    element->SetCaption(text);
    element->SetBounds(0, 0, width, 5);
    TReportContext context;
    context.Settings = m_settings;
    TReportPage& page = m_pages.back();
    element->Place(context, QRectF(x, y, width, 5), page);
    return page.Items.back().Rect.height();
}

void TInsuranceReport::PutRule(double x, double y, double width, double height, const QColor& color) {
    auto style = std::make_shared<TReportStyle>();
    style->Background = color;
    TReportItem item;
    item.Kind = rikFill;
    item.Rect = QRectF(x, y, width, height);
    item.Style = std::move(style);
    m_pages.back().Items.push_back(std::move(item));
}

void TInsuranceReport::LayOutCover() {
    BeginPage(false);
    double y = 45;
    y += Put(m_title, LocalText("InsuranceTitle", "Forsikringsrapport"), Left, y, Width) + 3;
    if (!m_scopeText.isEmpty()) {
        y += Put(m_subtitle, m_scopeText, Left, y, Width);
    }
    y += 8;
    PutRule(Left + 20, y, Width - 40, 0.4, Navy);
    y += 12;
    const double captionLeft = Left + 20;
    const double valueLeft = captionLeft + 52;
    const double valueWidth = Right - 20 - valueLeft;
    const auto row = [&](const QString& caption, const QString& value, bool strong = false) {
        const double height =
            std::max(Put(m_caption, caption, captionLeft, y + 0.4, valueLeft - captionLeft - 2),
                     Put(strong ? m_strongValue : m_value, OrDash(value), valueLeft, y, valueWidth));
        y += height + 2.5;
    };
    row(LocalText("InsuranceOwner", "Ejer"), m_owner.Name);
    row(LocalText("InsuranceAddress", "Adresse"), m_owner.Address);
    row(LocalText("InsuranceInsurer", "Forsikringsselskab"), m_owner.Insurer);
    row(LocalText("InsurancePolicy", "Policenummer"), m_owner.Policy);
    y += 6;
    row(LocalText("InsuranceDate", "Udskrevet"), m_date.toString(m_settings.ShortDateFormat));
    row(LocalText("InsuranceItemCount", "Antal genstande"), QString::number(m_totals.Count));
    row(LocalText("InsuranceTotalValue", "Samlet værdi"), Money(m_totals.Total), true);
}

void TInsuranceReport::LayOutSummary() {
    BeginPage(true);
    m_y += Put(m_heading, LocalText("InsuranceSummary", "Oversigt over kategorier"), Left, m_y, Width) + 4;
    const double countRight = Left + 130;
    const double countWidth = 35;
    const double amountWidth = 50;
    const auto header = [this, countRight, countWidth, amountWidth] {
        PutRule(Left, m_y, Width, 6.5, Silver);
        Put(m_strongValue, LocalText("InsuranceCategory", "Kategori"), Left + 2, m_y + 1, 90);
        Put(m_strongAmount, LocalText("InsuranceCount", "Antal"), countRight - countWidth, m_y + 1,
            countWidth);
        Put(m_strongAmount, LocalText("InsuranceValue", "Værdi"), Right - 2 - amountWidth, m_y + 1,
            amountWidth);
        m_y += 8;
    };
    header();
    for (const auto& category : m_totals.Categories) {
        if (m_y + 6 > ContentBottom - 10) {
            BeginPage(true);
            header();
        }
        const QString name = category.Kategori.isEmpty() ? LocalText("InsuranceNoCategory", "(uden kategori)")
                                                         : category.Kategori;
        const double height = Put(m_value, name, Left + 2, m_y, 90);
        Put(m_amount, QString::number(category.Count), countRight - countWidth, m_y, countWidth);
        Put(m_amount, Money(category.Sum), Right - 2 - amountWidth, m_y, amountWidth);
        m_y += std::max(height, 4.5) + 1.5;
    }
    PutRule(Left, m_y, Width, 0.4, Navy);
    m_y += 2;
    Put(m_strongValue, LocalText("InsuranceGrandTotal", "I alt"), Left + 2, m_y, 90);
    Put(m_strongAmount, QString::number(m_totals.Count), countRight - countWidth, m_y, countWidth);
    Put(m_strongAmount, Money(m_totals.Total), Right - 2 - amountWidth, m_y, amountWidth);
}

void TInsuranceReport::LayOutItems() {
    if (m_items.empty()) {
        return;
    }
    BeginPage(true);
    for (size_t i = 0; i < m_items.size(); ++i) {
        const double height = BlockHeight(m_items[i]);
        if (m_y > ContentTop && m_y + height > ContentBottom) {
            BeginPage(true);
        }
        m_y += LayOutBlock(m_items[i], i, m_y) + BlockGap;
        if (i + 1 < m_items.size() && m_y - BlockGap / 2 < ContentBottom) {
            PutRule(Left, m_y - BlockGap / 2, Width, 0.2, Rule);
        }
    }
}

double TInsuranceReport::BlockHeight(const TInsuranceItem& item) {
    // Laid out once aside to be measured, then dropped.
    TReportPage& page = m_pages.back();
    const size_t items = page.Items.size();
    const size_t slotCount = m_slots.back().size();
    const double height = LayOutBlock(item, 0, 0);
    page.Items.resize(items);
    m_slots.back().resize(slotCount);
    return height;
}

double TInsuranceReport::LayOutBlock(const TInsuranceItem& item, size_t index, double top) {
    TReportPage& page = m_pages.back();
    // The photo box, with the photo or the line that says why there is none.
    const QRectF box(Left, top, PhotoWidth, PhotoHeight);
    PutRule(box.left(), box.top(), box.width(), box.height(), PhotoGround);
    const QString path = item.Foto.isEmpty() ? QString() : m_pictures.ItemPicture(item.Foto);
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        TReportItem photo;
        photo.Kind = rikPicture;
        photo.Rect = box;
        photo.PictureRect = box;
        photo.Style = m_photoStyle;
        page.Items.push_back(std::move(photo));
        m_slots.back().push_back({index, page.Items.size() - 1, path});
    } else {
        const QString line = item.Foto.isEmpty()
                                 ? LocalText("InsuranceNoPicture", "Intet billede")
                                 : LocalText("InsurancePictureMissing", "Intet billede: filen %1 findes ikke")
                                       .arg(QFileInfo(path).fileName());
        Put(m_noPhoto, line, box.left() + 3, box.center().y() - 2.5, box.width() - 6);
    }

    double y = top;
    y += Put(m_itemTitle, OrDash(item.Beskrivelse), TextLeft, y, TextWidth) + 1.5;
    const auto row = [&](const QString& caption, const QString& value) {
        const double height =
            std::max(Put(m_caption, caption, TextLeft, y + 0.3, CaptionWidth - 1),
                     Put(m_value, OrDash(value), TextLeft + CaptionWidth, y, TextWidth - CaptionWidth));
        y += height + 0.6;
    };
    row(LocalText("InsuranceCategory", "Kategori"), item.Kategori);
    row(LocalText("InsuranceMake", "Fabrikat"), item.Fabrikat);
    row(LocalText("InsuranceModel", "Model"), item.Model);
    row(LocalText("InsuranceIdentification", "Identifikation"), item.Identifikation);
    row(LocalText("InsurancePlace", "Købssted"), item.Kobssted);
    row(LocalText("InsurancePurchaseDate", "Købsdato"), item.Kobsdato);
    row(LocalText("InsuranceValue", "Værdi"),
        item.HasValue ? Money(item.Vaerdi) : LocalText("InsuranceNoValue", "ingen værdi angivet"));
    row(LocalText("InsurancePictureNumber", "Billednr."), item.Foto);
    if (!item.Notater.trimmed().isEmpty()) {
        y += 1;
        y += Put(m_caption, LocalText("InsuranceNotes", "Notater"), TextLeft, y, TextWidth) + 0.3;
        TReportPage& notesPage = m_pages.back();
        const size_t before = notesPage.Items.size();
        const double height = Put(m_notes, item.Notater, TextLeft, y, TextWidth);
        // A block never runs past a page: notes longer than a whole page are cut at its foot and say so.
        const double room = ContentBottom - ContentTop - (y - top) - 5;
        if (height > room) {
            notesPage.Items.resize(before);
            m_notes->SetAutoSize(false);
            m_notes->SetCaption(item.Notater);
            m_notes->SetBounds(0, 0, TextWidth, room);
            TReportContext context;
            context.Settings = m_settings;
            m_notes->Place(context, QRectF(TextLeft, y, TextWidth, room), notesPage);
            m_notes->SetAutoSize(true);
            y += room;
            y += Put(m_noPhoto, LocalText("InsuranceNotesCut", "(notaterne er afkortet her)"), TextLeft, y,
                     TextWidth);
        } else {
            y += height;
        }
    }
    return std::max(y - top, PhotoHeight);
}

void TInsuranceReport::PlaceFooters() {
    const int count = int(m_pages.size());
    const QString date =
        LocalText("InsurancePrinted", "Udskrevet %1").arg(m_date.toString(m_settings.ShortDateFormat));
    for (int i = 0; i < count; ++i) {
        TReportPage& page = m_pages[size_t(i)];
        std::swap(page, m_pages.back()); // Put writes on the last page
        PutRule(Left, FooterTop - 1.5, Width, 0.2, Rule);
        if (!m_owner.Name.isEmpty()) {
            Put(m_footerLeft, m_owner.Name.section(QLatin1Char('\n'), 0, 0), Left, FooterTop, 70);
        }
        Put(m_footerCentre, date, Left, FooterTop, Width);
        Put(m_footerRight, LocalText("InsurancePageOf", "Side %1 af %2").arg(i + 1).arg(count), Right - 50,
            FooterTop, 50);
        std::swap(page, m_pages.back());
    }
}

TReportPage TInsuranceReport::PageWithPhotos(size_t index, int& done, const TProgress& progress) {
    TReportPage page = m_pages[index];
    for (const TPhotoSlot& slot : m_slots[index]) {
        if (progress && !progress(int(slot.ItemIndex), int(m_items.size()))) {
            throw EInsuranceReportCancelled(
                LocalText("InsuranceCancelled", "Forsikringsrapporten blev afbrudt"));
        }
        TReportItem& item = page.Items[slot.PictureItem];
        try {
            auto style = std::make_shared<TReportStyle>(*m_photoStyle);
            style->Picture = LoadPhoto(slot.Path, PhotoPixels());
            QSizeF fitted = QSizeF(style->Picture.size()).scaled(item.Rect.size(), Qt::KeepAspectRatio);
            item.PictureRect = QRectF(QPointF(), fitted);
            item.PictureRect.moveCenter(item.Rect.center());
            item.Style = std::move(style);
        } catch (const EHabitraError& error) {
            m_unreadable << QStringLiteral("%1 (%2): %3")
                                .arg(m_items[slot.ItemIndex].Beskrivelse, QFileInfo(slot.Path).fileName(),
                                     error.Message());
            item.Kind = rikText;
            item.Style = m_noPhotoStyle;
            item.Text = LocalText("InsurancePictureUnreadable", "Billedet kan ikke læses");
            item.Rect = QRectF(item.Rect.left(), item.Rect.center().y() - 2.5, item.Rect.width(), 5);
        }
        done = int(slot.ItemIndex) + 1;
    }
    return page;
}

void TInsuranceReport::Paint(QPagedPaintDevice& device, const TProgress& progress) {
    const std::vector<TReportPage>& pages = Pages();
    m_unreadable.clear();
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
        printer->setFullPage(true);
    }
    if (!device.pageLayout().isEquivalentTo(PageLayout())) {
        device.setPageLayout(PageLayout());
    }
    QPainter painter;
    if (!painter.begin(&device)) {
        throw EReportError(
            QStringLiteral("The report cannot be printed: the printer or file could not be opened"));
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    int done = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            device.newPage();
        }
        // Each page's photos are decoded for it and dropped once it is drawn.
        TReportPainter::PaintPage(painter, PageWithPhotos(i, done, progress), dotsPerMm);
    }
    if (progress) {
        progress(int(m_items.size()), int(m_items.size()));
    }
    painter.end();
}

void TInsuranceReport::SaveToPdf(const QString& path, const TProgress& progress) {
    const QFileInfo target(path);
    const QString folder = target.absolutePath();
    if (!QFileInfo(folder).isDir()) {
        throw EInsuranceReportError(
            LocalText("InsuranceNoFolder", "Mappen %1 findes ikke; rapporten er ikke gemt").arg(folder));
    }
    QSaveFile file(target.absoluteFilePath());
    if (!file.open(QIODevice::WriteOnly)) {
        throw EInsuranceReportError(
            LocalText("InsuranceFolderNotWritable", "Rapporten kan ikke gemmes i mappen %1: %2")
                .arg(folder, file.errorString()));
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Habitra"));
        writer.setTitle(LocalText("InsuranceTitle", "Forsikringsrapport"));
        writer.setResolution(600);
        Paint(writer, progress);
    }
    // A full disk shows here: a write failed, or the finished file could not take the name.
    if (file.error() != QFileDevice::NoError || !file.commit()) {
        throw EInsuranceReportError(
            LocalText(
                "InsuranceWriteFailed",
                "Rapporten kunne ikke skrives til %1: %2.\n\rEr disken fuld? Der er intet gemt under navnet.")
                .arg(target.absoluteFilePath(), file.errorString()));
    }
}

void TInsuranceReport::Preview(const TProgress& progress) {
    Pages();
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(PageLayout());
    printer.setCopyCount(1);
    printer.setDocName(LocalText("InsuranceTitle", "Forsikringsrapport"));
    TPlatform::Instance().PrintPreview(printer, [this, &progress](QPrinter& target) {
        ErrorDisplay::Guarded([&] {
            try {
                Paint(target, progress);
            } catch (const EInsuranceReportCancelled&) {
                // The preview shows what was drawn before the user stopped.
            }
        });
    });
}
