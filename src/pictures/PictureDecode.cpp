#include "PictureDecode.h"

#include "JpegLoader.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <cstring>
#include <memory>

#include <libheif/heif.h>

namespace PictureDecode {

namespace {

// As for JPEG: far above any phone's photo, and a header cannot make the program allocate more.
constexpr qint64 MaxPixels = 120'000'000;

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
    void operator()(heif_context* context) const { heif_context_free(context); }
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
    void operator()(heif_image* image) const { heif_image_release(image); }
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
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
    static const bool initialised = [] {
        heif_init(nullptr);
        return true;
    }();
    Q_UNUSED(initialised);
    THeif<heif_context> context(heif_context_alloc());
    if (!context) {
        throw EPictureError(QStringLiteral("Cannot read the picture \"%1\": out of memory").arg(name));
    }
    heif_context_set_maximum_image_size_limit(context.get(), 32768);
    Check(heif_context_read_from_memory_without_copy(context.get(), bytes.constData(), size_t(bytes.size()),
                                                     nullptr),
          name);
    heif_image_handle* rawHandle = nullptr;
    Check(heif_context_get_primary_image_handle(context.get(), &rawHandle), name);
    THeif<heif_image_handle> handle(rawHandle);
    const qint64 width = heif_image_handle_get_width(handle.get());
    const qint64 height = heif_image_handle_get_height(handle.get());
    if (width <= 0 || height <= 0 || width * height > MaxPixels) {
        throw EPictureError(
            QStringLiteral("Cannot read the picture \"%1\": %2").arg(name, TooLarge(width, height)));
    }
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    THeif<heif_decoding_options> options(heif_decoding_options_alloc());
    heif_image* rawImage = nullptr;
    Check(heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                            alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                            options.get()),
          name);
    THeif<heif_image> decoded(rawImage);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(decoded.get(), heif_channel_interleaved, &stride);
    const int w = heif_image_get_width(decoded.get(), heif_channel_interleaved);
    const int h = heif_image_get_height(decoded.get(), heif_channel_interleaved);
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
    if (head.size() >= 12 &&
        heif_check_filetype(data, int(qMin<qsizetype>(head.size(), 4096))) == heif_filetype_yes_supported) {
        return pkHeif;
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
