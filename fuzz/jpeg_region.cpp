// The picture area's first decode: a region of the upright picture, read with skipped and cropped
// scanlines. The first four bytes choose the region, the rest is the file. Whenever the whole
// picture decodes, the region must hold exactly its pixels.
#include "pictures/JpegLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QString TempFile() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/habitra-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/habitra-fuzz-XXXXXX"));
    return dir.filePath(QStringLiteral("Region.jpg"));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) {
        return 0;
    }
    const QRect region(data[0], data[1], data[2] + 1, data[3] + 1);
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data + 4), qsizetype(size - 4));
    const QString path = TempFile();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::abort();
    }
    file.close();
    TJpegPart part;
    try {
        part = LoadJpegPart(path, region, {});
    } catch (const EPictureError&) {
        return 0;
    }
    const QRect inside = region & QRect(QPoint(0, 0), part.Upright);
    if (part.Image.size() != inside.size()) {
        std::abort();
    }
    if (inside.isEmpty()) {
        return 0; // nothing to compare: QImage::copy of an empty rectangle would copy everything
    }
    QImage whole;
    try {
        whole = LoadJpeg(path);
    } catch (const EPictureError&) {
        return 0;
    }
    if (whole.size() != part.Upright || whole.copy(inside) != part.Image) {
        std::abort();
    }
    return 0;
}
