#pragma once

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>

class QPainter;

// Gathers single-line texts of one font and colour into one run of glyphs, so that a page of short
// fields costs the painter one call per run instead of one shaping and one text object per field.
// Each distinct text is shaped once per font and device resolution; the glyphs land exactly where drawText
// puts them.
class TReportGlyphRuns {
public:
    explicit TReportGlyphRuns(QPainter& painter);
    ~TReportGlyphRuns();
    TReportGlyphRuns(const TReportGlyphRuns&) = delete;
    TReportGlyphRuns& operator=(const TReportGlyphRuns&) = delete;

    // Adds a text whose baseline starts at `left` (or, right-aligned, whose glyphs end at `right`).
    // Returns false, adding nothing, for a text that needs more than one font.
    bool Add(const QString& text, const QFont& font, const QColor& color, double left, double right,
             double baseline, bool rightAligned);
    // Paints what has been gathered; the painter's pen is the runs' colour afterwards.
    void Flush();

private:
    struct TShaped {
        QList<quint32> Glyphs;
        QList<QPointF> Positions; // from the start of the baseline
        QRawFont Font;
        double Width = 0;
        bool Single = false; // one font only
    };
    const TShaped& Shape(const QString& text, const QFont& font);
    // Kept from page to page, by font, device resolution and text.
    static QHash<QString, TShaped>& Shapes();

    QPainter& m_painter;
    QColor m_color;
    QRawFont m_rawFont;
    QList<quint32> m_glyphs;
    QList<QPointF> m_positions;
    QFont m_keyFont; // the font of the last text shaped, and its part of the cache's key
    QString m_fontKey;
};
