#pragma once

#include "store/Error.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>

// A picture that cannot be read or written. The message names the file and gives the reason,
// libjpeg's own words where libjpeg found the fault.
class EPictureError : public EHabitraError {
public:
    using EHabitraError::EHabitraError;
};

// JPEG through libjpeg. Every loader gives the picture upright: an EXIF orientation (2 to 8, as
// phones write it) is applied to the decoded pixels, so sizes are those of the upright picture.
// Decoding gives Format_RGB888, or Format_Grayscale8 for a grey picture;
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

// Part of a picture, with what the header says of the whole.
struct TJpegPart {
    QImage Image;        // upright; null when the decode was cancelled or only the header was read
    QSize Upright;       // the whole upright picture at full size
    int Orientation = 1; // as EXIF numbers it
};
// Size and orientation from the header, nothing decoded.
TJpegPart ReadJpegHeader(const QString& path);
// For the picture area. With a `region` (of the upright picture at full size): just those pixels,
// exactly as a whole decode gives them, while libjpeg skips the rows above, stops after the last
// and leaves the columns outside out of the inverse DCT. Without one: the whole picture, at the
// scale LoadJpegScaled picks when `atLeast` is given. `cancelled` is asked every few rows; once it
// answers true the decode stops and gives a null picture. Errors as LoadJpeg.
TJpegPart LoadJpegPart(const QString& path, const QRect& region, const QSize& atLeast,
                       const std::function<bool()>& cancelled = {});

// `image` as a baseline JPEG; a grey image stays grey. quality is 1..100. `name` is for errors.
QByteArray EncodeJpeg(const QImage& image, const QString& name, int quality = 90);
// Writes `image` as a baseline JPEG, replacing the file only once it is whole.
void SaveJpeg(const QImage& image, const QString& path, int quality = 90);
