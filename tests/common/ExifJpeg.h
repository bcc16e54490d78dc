#pragma once

#include <QByteArray>

// JPEG files as phones write them: an APP1 segment holding one IFD with the orientation tag.
namespace ExifJpeg {
QByteArray OrientationSegment(int orientation, bool bigEndian = true);
// `jpeg` with `segment` right after its start-of-image marker.
QByteArray WithSegment(const QByteArray& jpeg, const QByteArray& segment);
inline QByteArray WithOrientation(const QByteArray& jpeg, int orientation) {
    return WithSegment(jpeg, OrientationSegment(orientation));
}
} // namespace ExifJpeg
