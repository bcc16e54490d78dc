#pragma once

#include "ReportContext.h"
#include "ReportPage.h"

#include <memory>
#include <vector>

class TReport;
class TReportBand;
class TReportElement;

// Flows a report's bands onto pages: title at the top of the first page, column header at the top of
// every page, one detail band per record while it fits above the page footer, page footer at the bottom.
class TReportLayout {
public:
    explicit TReportLayout(TReport& report);
    std::vector<TReportPage> Run();

private:
    void Prepare();
    void Walk();
    void BeginPage();
    void EndPage();
    void PlaceBand(TReportBand& band, double top);
    double FooterTop() const;

    TReport& m_report;
    TReportContext m_context;
    std::vector<TReportElement*> m_elements;
    std::vector<std::shared_ptr<const TReportStyle>> m_bandFills; // by band type; null when white
    std::vector<TReportPage> m_pages;
    double m_y = 0;
    int m_detailsOnPage = 0;
};
