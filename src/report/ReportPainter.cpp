#include "ReportPainter.h"

#include "ReportError.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <unordered_map>

QPageLayout TReportPainter::PageLayout(const QSizeF& sizeMm, QPageLayout::Orientation orientation) {
    const QSizeF portrait = orientation == QPageLayout::Landscape ? sizeMm.transposed() : sizeMm;
    QPageLayout layout(QPageSize(portrait, QPageSize::Millimeter), orientation, QMarginsF(),
                       QPageLayout::Millimeter);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

void TReportPainter::Paint(QPagedPaintDevice& device, const std::vector<TReportPage>& pages,
                           const QPageLayout& layout) {
    QPainter painter;
    const double dotsPerMm = Begin(painter, device, layout);
    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            device.newPage();
        }
        PaintPage(painter, pages[i], dotsPerMm);
    }
    painter.end();
}

double TReportPainter::Begin(QPainter& painter, QPagedPaintDevice& device, const QPageLayout& layout) {
    if (auto* printer = dynamic_cast<QPrinter*>(&device)) {
        printer->setFullPage(true);
    }
    if (!device.pageLayout().isEquivalentTo(layout)) {
        device.setPageLayout(layout);
    }
    if (!painter.begin(&device)) {
        throw EReportError(
            QStringLiteral("The report cannot be printed: the printer or file could not be opened"));
    }
    return device.logicalDpiX() / 25.4;
}

void TReportPainter::PaintPage(QPainter& painter, const TReportPage& page, double dotsPerMm) {
    const auto toDevice = [dotsPerMm](const QRectF& mm) {
        return QRectF(mm.left() * dotsPerMm, mm.top() * dotsPerMm, mm.width() * dotsPerMm,
                      mm.height() * dotsPerMm);
    };
    const TReportStyle* current = nullptr;
    double ascent = 0;
    std::unordered_map<const TReportStyle*, double> ascents;
    for (const TReportItem& item : page.Items) {
        const TReportStyle& style = *item.Style;
        const QRectF box = toDevice(item.Rect);
        switch (item.Kind) {
        case rikFill:
            painter.fillRect(box, style.Background);
            break;
        case rikPicture:
            painter.save();
            if (item.Overflows) {
                painter.setClipRect(box);
            }
            painter.drawImage(toDevice(item.PictureRect), style.Picture);
            painter.restore();
            break;
        case rikText: {
            if (style.Background.isValid()) {
                painter.fillRect(box, style.Background);
            }
            if (current != &style) {
                // Every element has a style of its own, mostly with the same font and colour as its
                // neighbours: setting an equal font again makes the painter look its font engine up anew
                // for each text.
                if (!current || current->Font != style.Font) {
                    painter.setFont(style.Font);
                }
                if (!current || current->FontColor != style.FontColor) {
                    painter.setPen(style.FontColor);
                }
                current = &style;
                auto found = ascents.find(current);
                if (found == ascents.end()) {
                    found =
                        ascents.emplace(current, QFontMetricsF(style.Font, painter.device()).ascent()).first;
                }
                ascent = found->second;
            }
            if (item.Overflows) {
                painter.save();
                painter.setClipRect(box);
            }
            // Left-aligned lines are drawn at their baseline: much cheaper than laying out into a rectangle.
            const bool left = style.Alignment == Qt::AlignLeft;
            const double lineHeight = style.LineHeight * dotsPerMm;
            const int flags = int(style.Alignment) | Qt::AlignTop | Qt::TextSingleLine;
            QRectF lineBox(box.left(), box.top(), box.width(), lineHeight);
            for (const QStringView line : QStringView(item.Text).tokenize(QLatin1Char('\n'))) {
                if (left) {
                    painter.drawText(QPointF(lineBox.left(), lineBox.top() + ascent), line.toString());
                } else {
                    painter.drawText(lineBox, flags, line.toString());
                }
                lineBox.translate(0, lineHeight);
            }
            if (item.Overflows) {
                painter.restore(); // back to the same font and pen
            }
            break;
        }
        }
    }
}

QImage TReportPainter::Render(const TReportPage& page, double dpi) {
    const double dotsPerMm = dpi / 25.4;
    QImage image(qRound(page.Size.width() * dotsPerMm), qRound(page.Size.height() * dotsPerMm),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dotsPerMm * 1000));
    image.setDotsPerMeterY(qRound(dotsPerMm * 1000));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintPage(painter, page, dotsPerMm);
    return image;
}
