#include "ReportImage.h"

#include "ReportError.h"

namespace {
double MmPerPixel(int dotsPerMeter) {
    return dotsPerMeter > 0 ? 1000.0 / dotsPerMeter : 25.4 / 96.0;
}
} // namespace

TReportImage::TReportImage(const QString& name) : TReportElement(name) {
    SetTransparent(true);
}

QSizeF TReportImage::PictureSize() const {
    return {m_picture.width() * MmPerPixel(m_picture.dotsPerMeterX()),
            m_picture.height() * MmPerPixel(m_picture.dotsPerMeterY())};
}

void TReportImage::BeginLayout(TReportContext&, const TReportBand& band) {
    if (m_picture.isNull()) {
        throw EReportError(QStringLiteral("The picture box \"%1\" has no picture to print").arg(Name()));
    }
    auto style = MakeStyle(band);
    style->Picture = m_picture;
    m_style = style;
}

void TReportImage::Place(TReportContext&, const QRectF& bandRect, TReportPage& page) {
    TReportItem item;
    item.Kind = rikPicture;
    item.Rect = QRectF(bandRect.left() + Left(), bandRect.top() + Top(), Width(), Height());
    item.PictureRect = QRectF(QPointF(), PictureSize());
    item.PictureRect.moveCenter(item.Rect.center());
    item.Overflows = !item.Rect.contains(item.PictureRect);
    item.Style = m_style;
    page.Items.push_back(std::move(item));
}
