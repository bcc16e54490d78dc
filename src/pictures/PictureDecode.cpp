#include "PictureDecode.h"

#include "HeifLibrary.h"
#include "JpegLoader.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstring>
#include <memory>

namespace PictureDecode {

namespace {

// As for JPEG: far above any phone's photo, and a header cannot make the program allocate more.
constexpr qint64 MaxPixels = 120'000'000;
constexpr qint64 MinHeifSide = 4096;

QString TooLarge(qint64 width, qint64 height) {
    return QStringLiteral("the picture is too large (%1 x %2 pixels)").arg(width).arg(height);
}

// Transparent parts of a PNG become white, as on paper, not black.
QImage OnWhite(const QImage& image) {
    if (!image.hasAlphaChannel()) {
        return image.convertToFormat(image.isGrayscale() ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    }
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

// libpng allocates and clears what a chunk's header claims before it reads the chunk, so a few
// hundred hostile bytes claiming gigabytes of text keep it busy for seconds. The whole file is in
// memory: a chunk that claims more than the bytes left is damage, refused before libpng sees it.
bool ChunksFitTheFile(const QByteArray& bytes) {
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 size = bytes.size();
    qint64 pos = 8; // after the signature
    while (pos + 12 <= size) {
        const qint64 length = (qint64(data[pos]) << 24) | (qint64(data[pos + 1]) << 16) |
                              (qint64(data[pos + 2]) << 8) | qint64(data[pos + 3]);
        if (length > size - pos - 12) {
            return false;
        }
        if (std::memcmp(data + pos + 4, "IEND", 4) == 0) {
            return true;
        }
        pos += 12 + length;
    }
    return false; // cut short before its end chunk
}

QImage DecodePng(const QByteArray& bytes, const QString& name) {
    if (!ChunksFitTheFile(bytes)) {
        throw EPictureError(
            QStringLiteral("Cannot read the picture \"%1\": the PNG file is damaged or cut short").arg(name));
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > MaxPixels) {
        throw EPictureError(QStringLiteral("Cannot read the picture \"%1\": %2")
                                .arg(name, TooLarge(size.width(), size.height())));
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        throw EPictureError(
            QStringLiteral("Cannot read the picture \"%1\": %2").arg(name, reader.errorString()));
    }
    return OnWhite(image);
}

struct THeifDeleter {
    void operator()(heif_context* context) const { THeifLibrary::Find()->ContextFree(context); }
    void operator()(heif_image_handle* handle) const { THeifLibrary::Find()->ImageHandleRelease(handle); }
    void operator()(heif_image* image) const { THeifLibrary::Find()->ImageRelease(image); }
    void operator()(heif_decoding_options* options) const {
        THeifLibrary::Find()->DecodingOptionsFree(options);
    }
};
template <class T> using THeif = std::unique_ptr<T, THeifDeleter>;

void Check(const heif_error& error, const QString& name) {
    if (error.code != heif_error_Ok) {
        throw EPictureError(
            QStringLiteral("Cannot read the picture \"%1\": %2")
                .arg(name, QString::fromUtf8(error.message ? error.message : "libheif error")));
    }
}

QImage DecodeHeif(const QByteArray& bytes, const QString& name) {
    const THeifLibrary& heif = THeifLibrary::Get(name);
    THeif<heif_context> context(heif.ContextAlloc());
    if (!context) {
        throw EPictureError(QStringLiteral("Cannot read the picture \"%1\": out of memory").arg(name));
    }
    heif.ContextSetMaximumImageSizeLimit(context.get(), 32768);
    Check(heif.ContextReadFromMemoryWithoutCopy(context.get(), bytes.constData(), size_t(bytes.size()),
                                                nullptr),
          name);
    heif_image_handle* rawHandle = nullptr;
    Check(heif.ContextGetPrimaryImageHandle(context.get(), &rawHandle), name);
    THeif<heif_image_handle> handle(rawHandle);
    const qint64 width = heif.ImageHandleGetWidth(handle.get());
    const qint64 height = heif.ImageHandleGetHeight(handle.get());
    if (width <= 0 || height <= 0 || width * height > MaxPixels) {
        throw EPictureError(
            QStringLiteral("Cannot read the picture \"%1\": %2").arg(name, TooLarge(width, height)));
    }
    // A grid picture states its size apart from its canvas, and libheif allocates the canvas before
    // it decodes a tile: 1 KB stating 64 x 32 pixels had 16384 x 8192 allocated. Its limit is on
    // each side, so it becomes the stated longer side, never below a phone's tile.
    heif.ContextSetMaximumImageSizeLimit(context.get(),
                                         int(std::max(std::max(width, height) + 1, MinHeifSide)));
    const bool alpha = heif.ImageHandleHasAlphaChannel(handle.get()) != 0;
    THeif<heif_decoding_options> options(heif.DecodingOptionsAlloc());
    heif_image* rawImage = nullptr;
    Check(heif.DecodeImage(handle.get(), &rawImage, heif_colorspace_RGB,
                           alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get()),
          name);
    THeif<heif_image> decoded(rawImage);
    int stride = 0;
    const uint8_t* plane = heif.ImageGetPlaneReadonly(decoded.get(), heif_channel_interleaved, &stride);
    const int w = heif.ImageGetWidth(decoded.get(), heif_channel_interleaved);
    const int h = heif.ImageGetHeight(decoded.get(), heif_channel_interleaved);
    if (plane == nullptr || w <= 0 || h <= 0 || qint64(w) * h > MaxPixels) {
        throw EPictureError(
            QStringLiteral("Cannot read the picture \"%1\": no picture in the file").arg(name));
    }
    const QImage view(plane, w, h, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    return OnWhite(view.copy()); // the view dies with the decoded image
}

} // namespace

TPictureKind KindOf(const QByteArray& head) {
    const auto* data = reinterpret_cast<const uint8_t*>(head.constData());
    if (head.startsWith(QByteArray("\xFF\xD8\xFF", 3))) {
        return pkJpeg;
    }
    if (head.startsWith(QByteArray("\x89PNG\r\n\x1A\n", 8))) {
        return pkPng;
    }
    if (head.size() >= 12) {
        // Without the library, an ISO media file is still taken for HEIC, so that reading it says
        // what is missing.
        const THeifLibrary* heif = THeifLibrary::Find();
        if (heif ? heif->CheckFiletype(data, int(qMin<qsizetype>(head.size(), 4096))) ==
                       heif_filetype_yes_supported
                 : head.mid(4, 4) == "ftyp") {
            return pkHeif;
        }
    }
    return pkNone;
}

QImage Decode(const QByteArray& bytes, const QString& name) {
    switch (KindOf(bytes.left(64))) {
    case pkJpeg:
        return LoadJpeg(bytes, name);
    case pkPng:
        return DecodePng(bytes, name);
    case pkHeif:
        return DecodeHeif(bytes, name);
    case pkNone:
        break;
    }
    throw EPictureError(
        QStringLiteral("Cannot read the picture \"%1\": not a JPEG, PNG or HEIC/HEIF file").arg(name));
}

} // namespace PictureDecode
