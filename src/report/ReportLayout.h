#pragma once

#include "ReportContext.h"
#include "ReportPage.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TReport;
class TReportBand;
class TReportElement;

// Flows a report's bands onto pages: title at the top of the first page, column header at the top of
// every page, one detail band per record while it fits above the page footer, page footer at the bottom.
class TReportLayout {
public:
    // Receives each page as soon as it is complete, so that a long report need not be kept whole.
    using TPageSink = std::function<void(TReportPage&& page)>;
    // Told the records done and their number after each page; returning false stops the layout.
    using TProgress = std::function<bool(int done, int total)>;

    explicit TReportLayout(TReport& report, TProgress progress = {});
    std::vector<TReportPage> Run();
    // Hands the pages to `sink` in order; raises EReportCancelled when the progress says stop, with
    // the table back on the record it was on.
    void Run(const TPageSink& sink);

private:
    void Prepare();
    void Walk();
    void BeginPage();
    void EndPage();
    void PlaceBand(TReportBand& band, double top);
    double FooterTop() const;
    void Report(int done, int total) const;

    TReport& m_report;
    TProgress m_progress;
    TPageSink m_sink;
    TReportContext m_context;
    std::vector<TReportElement*> m_elements;
    std::vector<std::shared_ptr<const TReportStyle>> m_bandFills; // by band type; null when white
    std::optional<TReportPage> m_page;                            // the page being filled
    int m_pageCount = 0;
    double m_y = 0;
    int m_detailsOnPage = 0;
};
