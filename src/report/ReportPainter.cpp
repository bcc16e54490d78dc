#include "ReportPainter.h"

#include "ReportError.h"
#include "ReportGlyphRuns.h"

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
    std::unordered_map<const TReportStyle*, double> ascents;
    const auto ascentOf = [&](const TReportStyle& style) {
        auto found = ascents.find(&style);
        if (found == ascents.end()) {
            found = ascents.emplace(&style, QFontMetricsF(style.Font, painter.device()).ascent()).first;
        }
        return found->second;
    };
    TReportGlyphRuns runs(painter);
    for (const TReportItem& item : page.Items) {
        const TReportStyle& style = *item.Style;
        const QRectF box = toDevice(item.Rect);
        if (item.Kind == rikText && !style.Background.isValid() && !item.Overflows &&
            style.Alignment != Qt::AlignHCenter && !item.Text.isEmpty() &&
            !item.Text.contains(QLatin1Char('\n')) &&
            runs.Add(item.Text, style.Font, style.FontColor, box.left(), box.right(),
                     box.top() + ascentOf(style), style.Alignment == Qt::AlignRight)) {
            current = nullptr; // the runs set the pen when they are painted
            continue;
        }
        runs.Flush();
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
                painter.setFont(style.Font);
                painter.setPen(style.FontColor);
                current = &style;
            }
            const double ascent = ascentOf(style);
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
    runs.Flush();
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
