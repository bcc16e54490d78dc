#include "ReportGlyphRuns.h"

#include <QPainter>
#include <QTextLayout>

namespace {
// Values, dates and numbers rarely repeat; the cache is dropped when it grows past this.
constexpr qsizetype MostShapes = 4000;
} // namespace

TReportGlyphRuns::TReportGlyphRuns(QPainter& painter) : m_painter(painter) {}

TReportGlyphRuns::~TReportGlyphRuns() = default;

QHash<QString, TReportGlyphRuns::TShaped>& TReportGlyphRuns::Shapes() {
    thread_local QHash<QString, TShaped> shapes;
    return shapes;
}

const TReportGlyphRuns::TShaped& TReportGlyphRuns::Shape(const QString& text, const QFont& font) {
    QHash<QString, TShaped>& shapes = Shapes();
    if (shapes.size() > MostShapes) {
        shapes.clear();
    }
    if (m_keyFont != font || m_fontKey.isEmpty()) {
        m_keyFont = font;
        m_fontKey = font.key() + QLatin1Char('@') + QString::number(m_painter.device()->logicalDpiY()) +
                    QLatin1Char('\n');
    }
    const QString key = m_fontKey + text;
    auto found = shapes.find(key);
    if (found != shapes.end()) {
        return *found;
    }
    TShaped shaped;
    QTextLayout layout(text, font, m_painter.device());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = line.glyphRuns();
    if (runs.size() == 1) {
        shaped.Single = true;
        shaped.Glyphs = runs.front().glyphIndexes();
        shaped.Positions = runs.front().positions();
        for (QPointF& position : shaped.Positions) {
            position.ry() -= line.ascent();
        }
        shaped.Font = runs.front().rawFont();
        shaped.Width = line.naturalTextWidth();
    }
    return *shapes.insert(key, shaped);
}

bool TReportGlyphRuns::Add(const QString& text, const QFont& font, const QColor& color, double left,
                           double right, double baseline, bool rightAligned) {
    const TShaped& shaped = Shape(text, font);
    if (!shaped.Single) {
        return false;
    }
    if (!m_glyphs.isEmpty() && (shaped.Font != m_rawFont || color != m_color)) {
        Flush();
    }
    if (m_glyphs.isEmpty()) {
        m_rawFont = shaped.Font;
        m_color = color;
    }
    const QPointF origin(rightAligned ? right - shaped.Width : left, baseline);
    m_glyphs.append(shaped.Glyphs);
    for (const QPointF& position : shaped.Positions) {
        m_positions.append(origin + position);
    }
    return true;
}

void TReportGlyphRuns::Flush() {
    if (m_glyphs.isEmpty()) {
        return;
    }
    QGlyphRun run;
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(m_glyphs);
    run.setPositions(m_positions);
    m_painter.setPen(m_color);
    m_painter.drawGlyphRun(QPointF(0, 0), run);
    m_glyphs.clear();
    m_positions.clear();
}
