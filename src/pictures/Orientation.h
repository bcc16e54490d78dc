#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <cstddef>

// Cameras and phones store a photo as the sensor saw it and record in EXIF how to turn it upright:
// orientation 1 is upright, 2 to 8 name where the stored first row and first column belong
// (2 mirrored, 3 turned half round, 4 upside-down mirror, 5 transposed, 6 turned a quarter
// clockwise, 7 transversed, 8 a quarter anticlockwise).
namespace Orientation {

// The orientation in an EXIF block (an APP1 segment's payload, starting "Exif\0\0"), read through
// libexif; 1 when the block is damaged, lacks the tag or holds a value outside 1..8.
int FromExif(const unsigned char* data, size_t size);

// Orientations 5 to 8 swap width and height.
bool SwapsSides(int orientation);
QSize UprightSize(const QSize& stored, int orientation);
// The stored pixels that make up `upright`, a rectangle of the upright picture.
QRect StoredRect(const QRect& upright, const QSize& stored, int orientation);
// `stored` turned and mirrored as `orientation` says.
QImage Upright(const QImage& stored, int orientation);

} // namespace Orientation
