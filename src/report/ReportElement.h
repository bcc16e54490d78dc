#pragma once

#include "ReportPage.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRectF>
#include <QString>
#include <array>
#include <memory>
#include <optional>

class TReportBand;
struct TReportContext;

enum TReportAlignment { taLeftJustify, taRightJustify, taCenter };

// Something printed on a band. Positions and sizes are millimetres from the band's top-left corner.
// An element keeps what it prepared for the layout that is running; a report lays out one at a time.
class TReportElement {
public:
    explicit TReportElement(const QString& name = {});
    virtual ~TReportElement();
    TReportElement(const TReportElement&) = delete;
    TReportElement& operator=(const TReportElement&) = delete;

    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

    void SetBounds(double left, double top, double width, double height);
    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }

    const QFont& Font() const { return m_font; }
    void SetFont(const QFont& font) { m_font = font; }
    const QColor& FontColor() const { return m_fontColor; }
    void SetFontColor(const QColor& color) { m_fontColor = color; }
    // The box's background, painted unless the element is transparent.
    const QColor& Color() const { return m_color; }
    void SetColor(const QColor& color) { m_color = color; }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent) { m_transparent = transparent; }

    TReportAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TReportAlignment alignment) { m_alignment = alignment; }
    // Aligns the box across the whole band instead of inside its own bounds.
    bool AlignToBand() const { return m_alignToBand; }
    void SetAlignToBand(bool alignToBand) { m_alignToBand = alignToBand; }
    // The box takes the size of its text; with word wrap its width stops at the band's edge.
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize) { m_autoSize = autoSize; }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap) { m_wordWrap = wordWrap; }

    // Layout steps: once before the first page (checks and prepares; raises EReportError), once per
    // detail record before its band is placed, and once each time the element's band is placed.
    virtual void BeginLayout(TReportContext& context, const TReportBand& band);
    virtual void Accumulate(TReportContext& context);
    virtual void Place(TReportContext& context, const QRectF& bandRect, TReportPage& page);

protected:
    // The text the element shows now.
    virtual QString Text(const TReportContext& context) const;
    void PlaceText(const QString& text, const QRectF& bandRect, TReportPage& page,
                   std::optional<TMoney> value = std::nullopt) const;
    // Breaks a text into lines no wider than `width` mm (word wrap) or at its line feeds only.
    QStringList BreakLines(const QString& text, double width, double* widest) const;
    std::shared_ptr<TReportStyle> MakeStyle(const TReportBand& band);

    std::shared_ptr<const TReportStyle> m_style;

private:
    double TextWidth(const QString& text) const;
    // The sum of the characters' advances in mm, or -1 for characters outside Latin-1.
    double EstimatedWidth(const QString& text) const;

    QString m_name;
    double m_left = 0;
    double m_top = 0;
    double m_width = 20;
    double m_height = 5;
    QFont m_font;
    QColor m_fontColor = Qt::black;
    QColor m_color = Qt::white;
    bool m_transparent = false;
    TReportAlignment m_alignment = taLeftJustify;
    bool m_alignToBand = false;
    bool m_autoSize = false;
    bool m_wordWrap = false;
    std::optional<QFontMetricsF> m_metrics;
    std::array<double, 256> m_latin1Advances{}; // mm
};
