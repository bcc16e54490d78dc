#pragma once

#include "ReportPage.h"

#include <QImage>
#include <QPageLayout>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// Draws laid-out pages on any paint device, scaling millimetres to the device's resolution.
class TReportPainter {
public:
    // A whole sheet with no margins: report items are placed from the paper's corner.
    static QPageLayout PageLayout(const QSizeF& sizeMm, QPageLayout::Orientation orientation);
    // One device page per report page; an empty report gives one blank page. Raises EReportError when
    // the device cannot be opened.
    static void Paint(QPagedPaintDevice& device, const std::vector<TReportPage>& pages,
                      const QPageLayout& layout);
    // Sets the device up for the layout and begins painting on it; returns the device's dots per mm.
    static double Begin(QPainter& painter, QPagedPaintDevice& device, const QPageLayout& layout);
    static void PaintPage(QPainter& painter, const TReportPage& page, double dotsPerMm);
    // The page as a picture at the given resolution.
    static QImage Render(const TReportPage& page, double dpi);
};
