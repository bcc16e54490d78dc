#pragma once

#include "store/Error.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// A picture that cannot be read or written. The message names the file and gives the reason,
// libjpeg's own words where libjpeg found the fault.
class EPictureError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

// JPEG through libjpeg. Decoding gives Format_RGB888, or Format_Grayscale8 for a grey picture;
// CMYK and YCCK pictures are converted to RGB. Any libjpeg warning (a truncated or corrupt file)
// counts as a failure, so a picture either loads whole or raises EPictureError. A picture of more
// than 120 megapixels is refused before anything is allocated for it.
QImage LoadJpeg(const QString& path);
// The picture decoded through libjpeg's DCT scaling at n/8 of its size, with the smallest n (1..8)
// that still gives at least `atLeast` in both directions: a photo decoded for a box on a page or on
// screen, never whole just to be shrunk. Errors as LoadJpeg.
QImage LoadJpegScaled(const QString& path, const QSize& atLeast);
// The n of that scale for a picture of size `picture`.
int JpegScaleFor(const QSize& picture, const QSize& atLeast);
// `name` only goes into the error message.
QImage LoadJpeg(const QByteArray& bytes, const QString& name);

// Writes `image` as a baseline JPEG; a grey image stays grey. quality is 1..100.
void SaveJpeg(const QImage& image, const QString& path, int quality = 90);
