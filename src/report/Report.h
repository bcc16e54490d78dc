#pragma once

#include "ReportBand.h"
#include "ReportLayout.h"
#include "ReportPage.h"
#include "store/FormatSettings.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QString>
#include <array>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class TTable;

// A banded report on A4 paper, one column, units millimetres. Set up the page, add bands and their
// elements, give it a dataset and the regional settings, then lay it out, save it as PDF or preview it.
//
// Laying out walks the detail band over the dataset from First to Eof in the table's current filter and
// order, with its controls disabled; the table is left where the walk ended (on its last record, at Eof).
// Any failure raises EReportError before a page is shown or written.
class TReport {
public:
    TReport();
    ~TReport();
    TReport(const TReport&) = delete;
    TReport& operator=(const TReport&) = delete;

    QPageLayout::Orientation Orientation() const { return m_orientation; }
    void SetOrientation(QPageLayout::Orientation orientation) { m_orientation = orientation; }
    // Left, top, right, bottom, mm.
    const QMarginsF& Margins() const { return m_margins; }
    void SetMargins(const QMarginsF& margins) { m_margins = margins; }
    QSizeF PageSize() const;  // mm, turned by the orientation
    double BandWidth() const; // mm between the left and right margins
    QPageLayout PageLayout() const;

    // The band of a type, created with the given height the first time.
    TReportBand& AddBand(TReportBandType type, double height);
    TReportBand* Band(TReportBandType type) const { return m_bands.at(size_t(type)).get(); }
    // Any band's element by name, without regard to case; nullptr when there is none.
    TReportElement* FindElement(const QString& name) const;

    TTable* DataSet() const { return m_dataSet; }
    void SetDataSet(TTable* dataSet) { m_dataSet = dataSet; }
    const TFormatSettings& FormatSettings() const { return m_settings; }
    void SetFormatSettings(const TFormatSettings& settings) { m_settings = settings; }
    // The report title: shown by sdReportTitle fields and given to the printer as the document name.
    const QString& Title() const { return m_title; }
    void SetTitle(const QString& title) { m_title = title; }
    // With an empty dataset, print the page bands once (on) or yield no page at all (off).
    bool PrintIfEmpty() const { return m_printIfEmpty; }
    void SetPrintIfEmpty(bool printIfEmpty) { m_printIfEmpty = printIfEmpty; }

    // The progress is told the records done after each page; when it returns false the layout stops
    // with EReportCancelled, the table back where it was, nothing shown and no file written.
    using TProgress = TReportLayout::TProgress;

    std::vector<TReportPage> Layout(const TProgress& progress = {});
    // Lays out, then paints on a printer or PDF writer.
    void Print(QPagedPaintDevice& device);
    // Writes each page as soon as it is laid out, so that a long list is never held whole; the file
    // appears only once it is complete.
    void SaveToPdf(const QString& path, const TProgress& progress = {});
    // Lays out, then shows the pages in the modal preview, from which the user prints; returns when it
    // closes.
    void Preview(const TProgress& progress = {});

private:
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    QMarginsF m_margins{10, 10, 10, 10};
    std::array<std::unique_ptr<TReportBand>, 5> m_bands;
    TTable* m_dataSet = nullptr;
    TFormatSettings m_settings;
    QString m_title;
    bool m_printIfEmpty = true;
};
