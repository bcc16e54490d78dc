#include "ReportElement.h"

#include "ReportBand.h"

#include <QImage>
#include <QTextLayout>
#include <cmath>

namespace {
// Texts are measured at a fixed resolution, never the screen's, so layouts match on every machine.
constexpr double MeasureDpi = 1200.0;
constexpr double MmPerDot = 25.4 / MeasureDpi;
constexpr double Tolerance = 0.001; // mm

QPaintDevice* MeasureDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(MeasureDpi / 0.0254));
        image.setDotsPerMeterY(qRound(MeasureDpi / 0.0254));
        return image;
    }();
    return &device;
}
} // namespace

TReportElement::TReportElement(const QString& name) : m_name(name), m_font(QStringLiteral("Arial"), 10) {}

TReportElement::~TReportElement() = default;

void TReportElement::SetBounds(double left, double top, double width, double height) {
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
}

void TReportElement::BeginLayout(TReportContext&, const TReportBand& band) {
    m_style = MakeStyle(band);
}

void TReportElement::Accumulate(TReportContext&) {}

void TReportElement::Place(TReportContext& context, const QRectF& bandRect, TReportPage& page) {
    PlaceText(Text(context), bandRect, page);
}

QString TReportElement::Text(const TReportContext&) const {
    return {};
}

std::shared_ptr<TReportStyle> TReportElement::MakeStyle(const TReportBand& band) {
    m_metrics.emplace(m_font, MeasureDevice());
    auto style = std::make_shared<TReportStyle>();
    style->Name = m_name;
    style->Font = m_font;
    style->FontColor = m_fontColor;
    // A box of the band's own colour needs no painting.
    if (!m_transparent && m_color.isValid() && m_color != band.Color()) {
        style->Background = m_color;
    }
    style->Alignment = m_alignment == taRightJustify ? Qt::AlignRight
                       : m_alignment == taCenter     ? Qt::AlignHCenter
                                                     : Qt::AlignLeft;
    style->LineHeight = m_metrics->lineSpacing() * MmPerDot;
    for (int c = 0; c < 256; ++c) {
        m_latin1Advances[size_t(c)] =
            QChar::isPrint(char32_t(c)) ? m_metrics->horizontalAdvance(QChar(c)) * MmPerDot : 0;
    }
    return style;
}

double TReportElement::TextWidth(const QString& text) const {
    return m_metrics->horizontalAdvance(text) * MmPerDot;
}

double TReportElement::EstimatedWidth(const QString& text) const {
    double sum = 0;
    for (const QChar c : text) {
        if (c.unicode() > 255 || !c.isPrint()) {
            return -1;
        }
        sum += m_latin1Advances[c.unicode()];
    }
    return sum;
}

QStringList TReportElement::BreakLines(const QString& text, double width, double* widest) const {
    QStringList lines;
    *widest = 0;
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) {
        // Measuring shapes the text, which is slow over a hundred thousand rows. A fixed box only needs
        // to know whether the text sticks out, and kerning never moves it by anything near this margin.
        constexpr double Margin = 0.5; // mm
        const double estimate = m_autoSize ? -1 : EstimatedWidth(text);
        const bool singleWord = !text.contains(QLatin1Char(' '));
        if (estimate >= 0 &&
            (estimate <= width - Margin || (estimate >= width + Margin && (!m_wordWrap || singleWord)))) {
            *widest = estimate;
            return {text};
        }
        const double textWidth = TextWidth(text);
        // A single word stays whole on its line however wide it is.
        if (!m_wordWrap || textWidth <= width + Tolerance || singleWord) {
            *widest = textWidth;
            return {text};
        }
    }
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& paragraph : plain.split(QLatin1Char('\n'))) {
        if (!m_wordWrap || paragraph.isEmpty()) {
            lines << paragraph;
            *widest = std::max(*widest, TextWidth(paragraph));
            continue;
        }
        QTextLayout layout(paragraph, m_font, MeasureDevice());
        QTextOption option;
        // A word longer than the line stays whole and is cut at the box's edge.
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max(width, 0.0) / MmPerDot);
            const QString part = paragraph.mid(line.textStart(), line.textLength());
            lines << part;
            *widest = std::max(*widest, TextWidth(part.trimmed()));
        }
        layout.endLayout();
    }
    for (QString& line : lines) {
        while (line.endsWith(QLatin1Char(' '))) {
            line.chop(1);
        }
    }
    return lines;
}

void TReportElement::PlaceText(const QString& text, const QRectF& bandRect, TReportPage& page,
                               std::optional<TMoney> value) const {
    QRectF box(bandRect.left() + m_left, bandRect.top() + m_top, m_width, m_height);
    const double lineHeight = m_style->LineHeight;
    double widest = 0;
    QStringList lines;
    if (m_autoSize) {
        const double room = m_alignToBand ? bandRect.width() : bandRect.right() - box.left();
        lines = BreakLines(text, room, &widest);
        const double oldCentre = box.center().x();
        const double oldRight = box.right();
        box.setWidth(std::min(widest, room));
        box.setHeight(lines.size() * lineHeight);
        if (!m_alignToBand && m_alignment == taRightJustify) {
            box.moveRight(oldRight);
        } else if (!m_alignToBand && m_alignment == taCenter) {
            box.moveLeft(oldCentre - box.width() / 2);
        }
    } else {
        lines = BreakLines(text, box.width(), &widest);
        // Whole lines only; the first one always shows, cut at the box's edge by the painter.
        const int fitting = std::max(1, int(std::floor((box.height() + Tolerance) / lineHeight)));
        if (lines.size() > fitting) {
            lines = lines.mid(0, fitting);
        }
    }
    if (m_alignToBand) {
        if (m_alignment == taCenter) {
            box.moveLeft(bandRect.left() + (bandRect.width() - box.width()) / 2);
        } else if (m_alignment == taRightJustify) {
            box.moveRight(bandRect.right());
        } else {
            box.moveLeft(bandRect.left());
        }
    }
    TReportItem item;
    item.Kind = rikText;
    item.Rect = box;
    item.Text = lines.size() == 1 ? lines.front() : lines.join(QLatin1Char('\n'));
    item.Overflows = widest > box.width() + Tolerance || lines.size() * lineHeight > box.height() + Tolerance;
    item.Value = value;
    item.Style = m_style;
    page.Items.push_back(std::move(item));
}
