#include "LargeImage.h"

#include <cstdlib>

#include <sys/mman.h>

namespace LargeImage {

namespace {

constexpr qsizetype HugePage = qsizetype(2) << 20;

void Free(void* data) {
    std::free(data);
}

} // namespace

QImage New(int width, int height, QImage::Format format) {
    const bool grey = format == QImage::Format_Grayscale8;
    const qsizetype stride = (qsizetype(width) * (grey ? 1 : 3) + 3) & ~qsizetype(3); // as QImage pads
    const qsizetype bytes = stride * height;
    if ((!grey && format != QImage::Format_RGB888) || width <= 0 || height <= 0 || bytes < 4 * HugePage) {
        return QImage(width, height, format);
    }
    const qsizetype rounded = (bytes + HugePage - 1) / HugePage * HugePage;
    auto* data = static_cast<uchar*>(std::aligned_alloc(size_t(HugePage), size_t(rounded)));
    if (data == nullptr) {
        return {};
    }
    madvise(data, size_t(rounded), MADV_HUGEPAGE); // only a hint: refused, the pages are small
    return QImage(data, width, height, stride, format, Free, data);
}

} // namespace LargeImage
