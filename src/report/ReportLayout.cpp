#include "ReportLayout.h"

#include "Report.h"
#include "ReportError.h"
#include "store/ControlsDisabled.h"
#include "store/Table.h"

namespace {
constexpr double Tolerance = 0.001; // mm
} // namespace

TReportLayout::TReportLayout(TReport& report, TProgress progress)
    : m_report(report), m_progress(std::move(progress)) {}

std::vector<TReportPage> TReportLayout::Run() {
    std::vector<TReportPage> pages;
    Run([&pages](TReportPage&& page) { pages.push_back(std::move(page)); });
    return pages;
}

void TReportLayout::Run(const TPageSink& sink) {
    m_sink = sink;
    m_context.DataSet = m_report.DataSet();
    m_context.Settings = m_report.FormatSettings();
    m_context.ReportTitle = m_report.Title();
    try {
        Prepare();
        Walk();
    } catch (const EReportError&) {
        throw;
    } catch (const EHabitraError& error) {
        throw EReportError(QStringLiteral("The report could not be made: %1").arg(error.Message()));
    }
}

void TReportLayout::Prepare() {
    TTable* table = m_context.DataSet;
    if (table && !table->Active()) {
        throw EReportError(QStringLiteral("The report's table \"%1\" is not open").arg(table->TableName()));
    }
    if (m_report.Band(rbDetail) && !table) {
        throw EReportError(QStringLiteral("The report has a detail band but no table to print"));
    }
    m_bandFills.assign(5, nullptr);
    for (int type = rbTitle; type <= rbPage; ++type) {
        TReportBand* band = m_report.Band(TReportBandType(type));
        if (!band) {
            continue;
        }
        if (band->Color().isValid() && band->Color() != QColor(Qt::white)) {
            auto fill = std::make_shared<TReportStyle>();
            fill->Background = band->Color();
            m_bandFills[size_t(type)] = fill;
        }
        for (const auto& element : band->Elements()) {
            element->BeginLayout(m_context, *band);
            m_elements.push_back(element.get());
        }
    }
}

void TReportLayout::Walk() {
    TTable* table = m_context.DataSet;
    TControlsDisabled disabled(table);
    const TBookmark start = table ? table->GetBookmark() : TBookmark{};
    try {
        if (table) {
            table->First();
        }
        const bool empty = table && table->IsEmpty();
        if (empty && !m_report.PrintIfEmpty()) {
            return;
        }
        const int total = table ? table->RecordCount() : 0;
        int done = 0;
        Report(done, total);
        BeginPage();
        if (TReportBand* detail = m_report.Band(rbDetail)) {
            for (; !table->Eof(); table->Next()) {
                // A page always takes one detail band, even one taller than the room it has.
                if (m_detailsOnPage > 0 && m_y + detail->Height() > FooterTop() + Tolerance) {
                    EndPage();
                    Report(done, total);
                    BeginPage();
                }
                for (TReportElement* element : m_elements) {
                    element->Accumulate(m_context);
                }
                PlaceBand(*detail, m_y);
                m_y += detail->Height();
                ++m_detailsOnPage;
                ++done;
            }
        }
        EndPage();
        Report(done, total);
    } catch (...) {
        // A layout that did not finish leaves the cursor where the user had it.
        if (table && table->BookmarkValid(start)) {
            table->GotoBookmark(start);
        }
        throw;
    }
}

void TReportLayout::Report(int done, int total) const {
    if (m_progress && !m_progress(done, total)) {
        throw EReportCancelled(QStringLiteral("The report was cancelled"));
    }
}

double TReportLayout::FooterTop() const {
    const TReportBand* footer = m_report.Band(rbPageFooter);
    return m_report.PageSize().height() - m_report.Margins().bottom() - (footer ? footer->Height() : 0);
}

void TReportLayout::BeginPage() {
    m_page.emplace();
    m_page->Number = ++m_pageCount;
    m_page->Size = m_report.PageSize();
    m_page->Orientation = m_report.Orientation();
    m_context.PageNumber = m_page->Number;
    m_y = m_report.Margins().top();
    m_detailsOnPage = 0;
    if (TReportBand* onPage = m_report.Band(rbPage)) {
        PlaceBand(*onPage, 0);
    }
    for (TReportBandType type : {rbTitle, rbColumnHeader}) {
        TReportBand* band = m_report.Band(type);
        if (band && (type != rbTitle || m_pageCount == 1)) {
            PlaceBand(*band, m_y);
            m_y += band->Height();
        }
    }
}

void TReportLayout::EndPage() {
    if (TReportBand* footer = m_report.Band(rbPageFooter)) {
        PlaceBand(*footer, FooterTop());
    }
    m_sink(std::move(*m_page));
    m_page.reset();
}

void TReportLayout::PlaceBand(TReportBand& band, double top) {
    TReportPage& page = *m_page;
    const QRectF rect = band.BandType() == rbPage
                            ? QRectF(QPointF(0, 0), page.Size)
                            : QRectF(m_report.Margins().left(), top, m_report.BandWidth(), band.Height());
    if (const auto& fill = m_bandFills[size_t(band.BandType())]) {
        TReportItem item;
        item.Kind = rikFill;
        item.Rect = rect;
        item.Style = fill;
        page.Items.push_back(std::move(item));
    }
    for (const auto& element : band.Elements()) {
        element->Place(m_context, rect, page);
    }
}
