#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The kinds of picture file the program takes in, told by their first bytes rather than their name,
// and their decoding into an upright picture.
namespace PictureDecode {

enum TPictureKind { pkNone, pkJpeg, pkPng, pkHeif };

TPictureKind KindOf(const QByteArray& head);
// An accepted picture decoded upright: JPEG by libjpeg, PNG by Qt's own reader, HEIC/HEIF by
// libheif (which applies the container's rotation and mirroring). Transparent parts become white.
// Pictures above 120 megapixels are refused before they are decoded. Raises EPictureError.
QImage Decode(const QByteArray& bytes, const QString& name);

} // namespace PictureDecode
