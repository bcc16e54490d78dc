#pragma once

#include "ReportElement.h"

#include <QImage>

// A picture box: the picture is centred in the box at its own size, never stretched, and cut at the
// box's edges when it is larger. The caller decodes the picture; a box without one fails the report.
class TReportImage : public TReportElement {
public:
    explicit TReportImage(const QString& name = {});
    const QImage& Picture() const { return m_picture; }
    void SetPicture(const QImage& picture) { m_picture = picture; }
    // The picture's own size in mm, from its resolution (96 dpi when it has none).
    QSizeF PictureSize() const;

    void BeginLayout(TReportContext& context, const TReportBand& band) override;
    void Place(TReportContext& context, const QRectF& bandRect, TReportPage& page) override;

private:
    QImage m_picture;
};
