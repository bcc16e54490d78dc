#pragma once

#include "store/Money.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// How the items of one report element look; shared by every item the element puts on the pages.
struct TReportStyle {
    QString Name; // the element's name; empty for band backgrounds
    QFont Font;
    QColor FontColor = Qt::black;
    QColor Background; // invalid: transparent
    Qt::Alignment Alignment = Qt::AlignLeft;
    double LineHeight = 0; // mm
    QImage Picture;        // picture boxes only
};

enum TReportItemKind { rikText, rikFill, rikPicture };

// One positioned thing on a laid-out page. Rectangles are in millimetres from the page's top-left corner.
struct TReportItem {
    TReportItemKind Kind = rikText;
    QRectF Rect;                 // the element's box (the band's area for a fill)
    QRectF PictureRect;          // where the picture is drawn, centred on the box; clipped to Rect
    QString Text;                // the visible lines, joined by '\n'
    bool Overflows = false;      // a line is wider than the box and is cut at its edge
    std::optional<TMoney> Value; // the running sum an expression field shows
    std::shared_ptr<const TReportStyle> Style;

    const QString& Name() const { return Style->Name; }
    QStringList Lines() const { return Text.split(QLatin1Char('\n')); }
};

// One laid-out page: what the painter draws and what tests read.
struct TReportPage {
    int Number = 0; // 1-based
    QSizeF Size;    // mm
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    std::vector<TReportItem> Items;

    // Every text on the page, in layout order.
    QStringList Texts() const;
    // The items of one element, in layout order.
    std::vector<const TReportItem*> ItemsNamed(const QString& name) const;
    // The first item of one element, or nullptr.
    const TReportItem* Item(const QString& name) const;
};
