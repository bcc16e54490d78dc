#pragma once

#include <QImage>

// A whole photo is tens of megabytes written once from top to bottom. In ordinary 4 KiB pages every
// page costs a fault on its first touch, which took longer than decoding the photo itself; in
// 2 MiB pages the faults are a few dozen.
namespace LargeImage {

// An image of `format` (one or three bytes a pixel) whose pixels are not yet set; large ones in
// 2 MiB pages, smaller ones from Qt's own allocation. Null when the memory is not there.
QImage New(int width, int height, QImage::Format format);

} // namespace LargeImage
