#include "Report.h"

#include "ReportError.h"
#include "ReportLayout.h"
#include "ReportPainter.h"
#include "toolkit/ErrorDisplay.h"
#include "toolkit/Platform.h"

#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#ifdef __GLIBC__
#include <malloc.h>
#endif

TReport::TReport() = default;

TReport::~TReport() = default;

QSizeF TReport::PageSize() const {
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return m_orientation == QPageLayout::Landscape ? a4.transposed() : a4;
}

double TReport::BandWidth() const {
    return PageSize().width() - m_margins.left() - m_margins.right();
}

QPageLayout TReport::PageLayout() const {
    return TReportPainter::PageLayout(PageSize(), m_orientation);
}

TReportBand& TReport::AddBand(TReportBandType type, double height) {
    auto& band = m_bands.at(size_t(type));
    if (!band) {
        band = std::make_unique<TReportBand>(type, height);
    }
    return *band;
}

TReportElement* TReport::FindElement(const QString& name) const {
    for (const auto& band : m_bands) {
        if (TReportElement* element = band ? band->FindElement(name) : nullptr) {
            return element;
        }
    }
    return nullptr;
}

std::vector<TReportPage> TReport::Layout(const TProgress& progress) {
    return TReportLayout(*this, progress).Run();
}

void TReport::Print(QPagedPaintDevice& device) {
    const std::vector<TReportPage> pages = Layout();
    TReportPainter::Paint(device, pages, PageLayout());
}

void TReport::SaveToPdf(const QString& path, const TProgress& progress) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw EReportError(
            QStringLiteral("The report cannot be saved as \"%1\": %2").arg(path, file.errorString()));
    }
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Habitra"));
        writer.setTitle(m_title);
        QPainter painter;
        const double dotsPerMm = TReportPainter::Begin(painter, writer, PageLayout());
        bool first = true;
        TReportLayout(*this, progress).Run([&](TReportPage&& page) {
            if (!first) {
                writer.newPage();
            }
            first = false;
            TReportPainter::PaintPage(painter, page, dotsPerMm);
        });
        painter.end(); // an empty report is one blank page
    }
    if (!file.commit()) {
        throw EReportError(
            QStringLiteral("The report cannot be saved as \"%1\": %2").arg(path, file.errorString()));
    }
}

void TReport::Preview(const TProgress& progress) {
    {
        const std::vector<TReportPage> pages = Layout(progress);
        QPrinter printer(QPrinter::HighResolution);
        printer.setFullPage(true);
        printer.setPageLayout(PageLayout());
        printer.setCopyCount(1);
        printer.setDocName(m_title);
        const QPageLayout layout = PageLayout();
        TPlatform::Instance().PrintPreview(printer, [&pages, &layout](QPrinter& target) {
            ErrorDisplay::Guarded([&] { TReportPainter::Paint(target, pages, layout); });
        });
    }
    // A long list leaves hundreds of megabytes of freed pages behind; the allocator keeps them unless
    // told to give them back.
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}
