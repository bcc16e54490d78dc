#include "JpegLoader.h"

#include "LargeImage.h"
#include "Orientation.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace {

// Far above any camera's picture; a damaged or hostile header can claim 65535 x 65535 pixels, and
// the picture and libjpeg's own buffers are allocated from the header before any data is read.
constexpr quint64 MaxPixels = 120'000'000;
constexpr long MaxDecoderMemory = 1L << 30;

QString ReadError(const QString& name, const QString& reason) {
    return QStringLiteral("Cannot read the picture \"%1\": %2").arg(name, reason);
}

QString WriteError(const QString& name, const QString& reason) {
    return QStringLiteral("Cannot write the picture \"%1\": %2").arg(name, reason);
}

// libjpeg reports through these callbacks; instead of printing and calling exit() they jump back
// to the setjmp of the running decode or encode with libjpeg's message kept.
struct TErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<TErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int level) {
    // Level -1 is a warning about damaged data; higher levels are trace output.
    if (level < 0) {
        ErrorExit(cinfo);
    }
}

void OutputMessage(j_common_ptr) {}

void InstallErrorManager(TErrorManager& manager) {
    jpeg_std_error(&manager.pub);
    manager.pub.error_exit = ErrorExit;
    manager.pub.emit_message = EmitMessage;
    manager.pub.output_message = OutputMessage;
    manager.message[0] = '\0';
}

// Reads either from memory or, in chunks, from an open file (a file is never held whole).
struct TDecoder {
    jpeg_decompress_struct cinfo{};
    TErrorManager error{};
    jpeg_source_mgr fileSource{};
    QFile* file = nullptr;
    bool startOfFile = true;
    std::vector<JOCTET> chunk;
    QImage image;
    std::vector<JSAMPROW> rows;
    std::vector<JSAMPLE> cmykRow;
    bool outOfMemory = false;
    bool tooLarge = false;
    QSize atLeast;           // empty: full size
    QRect region;            // of the upright picture; empty: all of it
    bool headerOnly = false; // stop after the header: size and orientation
    const std::function<bool()>* cancelled = nullptr;
    bool wasCancelled = false;
    int orientation = 1;
    QRect decoded; // the stored pixels `image` holds, when a region was asked for
    QRect wanted;  // the stored pixels that make up the region
};

// Asked between rows; the decode stops when the caller no longer wants the picture.
bool Cancelled(TDecoder& decoder) {
    if (decoder.cancelled != nullptr && *decoder.cancelled && (*decoder.cancelled)()) {
        decoder.wasCancelled = true;
        return true;
    }
    return false;
}

int OrientationOf(const jpeg_decompress_struct& cinfo) {
    for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker != nullptr; marker = marker->next) {
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= 6 &&
            std::memcmp(marker->data, "Exif\0\0", 6) == 0) {
            return Orientation::FromExif(marker->data, marker->data_length);
        }
    }
    return 1;
}

TDecoder& DecoderOf(j_decompress_ptr cinfo) {
    return *static_cast<TDecoder*>(cinfo->client_data);
}

void InitFileSource(j_decompress_ptr cinfo) {
    DecoderOf(cinfo).startOfFile = true;
}

// As libjpeg's own stdio source: an empty file is an error, a short one ends with a warning.
boolean FillFileBuffer(j_decompress_ptr cinfo) {
    TDecoder& decoder = DecoderOf(cinfo);
    qint64 count = decoder.file->read(reinterpret_cast<char*>(decoder.chunk.data()),
                                      static_cast<qint64>(decoder.chunk.size()));
    if (count < 0) {
        ERREXIT(cinfo, JERR_FILE_READ);
    }
    if (count == 0) {
        if (decoder.startOfFile) {
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        }
        WARNMS(cinfo, JWRN_JPEG_EOF);
        decoder.chunk[0] = 0xFF;
        decoder.chunk[1] = JPEG_EOI;
        count = 2;
    }
    decoder.fileSource.next_input_byte = decoder.chunk.data();
    decoder.fileSource.bytes_in_buffer = static_cast<size_t>(count);
    decoder.startOfFile = false;
    return TRUE;
}

void SkipFileData(j_decompress_ptr cinfo, long count) {
    jpeg_source_mgr& source = DecoderOf(cinfo).fileSource;
    while (count > static_cast<long>(source.bytes_in_buffer)) {
        count -= static_cast<long>(source.bytes_in_buffer);
        FillFileBuffer(cinfo);
    }
    if (count > 0) {
        source.next_input_byte += count;
        source.bytes_in_buffer -= static_cast<size_t>(count);
    }
}

void TermFileSource(j_decompress_ptr) {}

// Adobe's CMYK JPEGs store inverted inks, so the stored value is already "how much light".
void CmykToRgb(const JSAMPLE* in, uchar* out, JDIMENSION width) {
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        const unsigned k = in[3];
        out[0] = static_cast<uchar>(in[0] * k / 255);
        out[1] = static_cast<uchar>(in[1] * k / 255);
        out[2] = static_cast<uchar>(in[2] * k / 255);
    }
}

// Everything that may longjmp lives here; the function holds no object with a destructor, so
// the jump skips nothing. Returns false when libjpeg gave up (message in decoder.error).
bool Decode(TDecoder& decoder, const uchar* data, unsigned long size) {
    jpeg_decompress_struct& cinfo = decoder.cinfo;
    if (setjmp(decoder.error.jump)) {
        return false;
    }
    jpeg_create_decompress(&cinfo);
    if (decoder.file) {
        decoder.chunk.resize(64 * 1024);
        decoder.fileSource.init_source = InitFileSource;
        decoder.fileSource.fill_input_buffer = FillFileBuffer;
        decoder.fileSource.skip_input_data = SkipFileData;
        decoder.fileSource.resync_to_restart = jpeg_resync_to_restart;
        decoder.fileSource.term_source = TermFileSource;
        cinfo.src = &decoder.fileSource;
    } else {
        jpeg_mem_src(&cinfo, data, size);
    }
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    decoder.orientation = OrientationOf(cinfo);
    if (decoder.headerOnly) {
        return true;
    }
    if (quint64(cinfo.image_width) * cinfo.image_height > MaxPixels) {
        decoder.tooLarge = true;
        return false;
    }
    cinfo.mem->max_memory_to_use = MaxDecoderMemory;
    const QSize stored(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height));
    if (!decoder.atLeast.isEmpty()) {
        // The wanted size is of the upright picture.
        const QSize atLeast =
            Orientation::SwapsSides(decoder.orientation) ? decoder.atLeast.transposed() : decoder.atLeast;
        cinfo.scale_num = static_cast<unsigned>(JpegScaleFor(stored, atLeast));
        cinfo.scale_denom = 8;
    }

    QImage::Format format = QImage::Format_RGB888;
    bool cmyk = false;
    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
        cinfo.out_color_space = JCS_GRAYSCALE;
        format = QImage::Format_Grayscale8;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        cinfo.out_color_space = JCS_CMYK;
        cmyk = true;
        break;
    default:
        cinfo.out_color_space = JCS_RGB;
        break;
    }
    jpeg_start_decompress(&cinfo);

    // A region: only its columns go through the inverse DCT and colour conversion, the rows above it
    // are skipped and those below are never read. A margin keeps the pixels at the cut edges as in a
    // whole decode: upsampling reads a component's next sample, and the block smoothing of a
    // progressive file cut short reads two blocks on each side, which libjpeg does not look past a cut.
    JDIMENSION firstRow = 0;
    JDIMENSION endRow = cinfo.output_height;
    if (!decoder.region.isEmpty()) {
        const QRect upright(QPoint(0, 0), Orientation::UprightSize(stored, decoder.orientation));
        decoder.wanted = Orientation::StoredRect(decoder.region & upright, stored, decoder.orientation);
        if (decoder.wanted.isEmpty()) {
            return true;
        }
        constexpr int SamplesBeyond = 2 * DCTSIZE + 1;
        int marginX = SamplesBeyond;
        int marginY = SamplesBeyond;
        for (int c = 0; c < cinfo.num_components; ++c) {
            const jpeg_component_info& component = cinfo.comp_info[c];
            marginX =
                std::max(marginX, (SamplesBeyond * cinfo.max_h_samp_factor + component.h_samp_factor - 1) /
                                      component.h_samp_factor);
            marginY =
                std::max(marginY, (SamplesBeyond * cinfo.max_v_samp_factor + component.v_samp_factor - 1) /
                                      component.v_samp_factor);
        }
        const QRect margin =
            decoder.wanted.adjusted(-marginX, -marginY, marginX, marginY) & QRect(QPoint(0, 0), stored);
        JDIMENSION x = static_cast<JDIMENSION>(margin.x());
        JDIMENSION width = static_cast<JDIMENSION>(margin.width());
        jpeg_crop_scanline(&cinfo, &x, &width);
        firstRow = static_cast<JDIMENSION>(margin.y());
        endRow = static_cast<JDIMENSION>(margin.bottom() + 1);
        if (firstRow > 0 && jpeg_skip_scanlines(&cinfo, firstRow) != firstRow) {
            return false;
        }
        decoder.decoded = QRect(static_cast<int>(x), static_cast<int>(firstRow), static_cast<int>(width),
                                static_cast<int>(endRow - firstRow));
    }

    const JDIMENSION width = cinfo.output_width;
    const JDIMENSION height = endRow - firstRow;
    decoder.image = LargeImage::New(static_cast<int>(width), static_cast<int>(height), format);
    if (decoder.image.isNull()) {
        decoder.outOfMemory = true;
        return false;
    }
    uchar* const bits = decoder.image.bits();
    const qsizetype stride = decoder.image.bytesPerLine();

    if (cmyk) {
        decoder.cmykRow.resize(static_cast<size_t>(width) * 4);
        JSAMPROW row = decoder.cmykRow.data();
        while (cinfo.output_scanline < endRow) {
            const JDIMENSION y = cinfo.output_scanline - firstRow;
            if (jpeg_read_scanlines(&cinfo, &row, 1) == 1) {
                CmykToRgb(row, bits + y * stride, width);
            }
            if (y % 16 == 0 && Cancelled(decoder)) {
                return false;
            }
        }
    } else {
        // Straight into the image's rows, as many at a time as libjpeg will take.
        decoder.rows.resize(height);
        for (JDIMENSION y = 0; y < height; ++y) {
            decoder.rows[y] = bits + y * stride;
        }
        while (cinfo.output_scanline < endRow) {
            const JDIMENSION y = cinfo.output_scanline - firstRow;
            jpeg_read_scanlines(&cinfo, decoder.rows.data() + y, height - y);
            if (Cancelled(decoder)) {
                return false;
            }
        }
    }
    // A region leaves rows unread; the decoder is dropped without finishing.
    if (endRow == cinfo.output_height) {
        jpeg_finish_decompress(&cinfo);
    }
    return true;
}

// What a decode asks for beyond the whole picture.
struct TDecodeOptions {
    QSize AtLeast;
    QRect Region;
    bool HeaderOnly = false;
    const std::function<bool()>* Cancelled = nullptr;
};

// Decodes `file` when given, else the bytes; the picture comes back upright. A cancelled decode gives
// a null picture.
TJpegPart DecodeOrThrow(QFile* file, const uchar* data, unsigned long size, const QString& name,
                        const TDecodeOptions& options = {}) {
    TDecoder decoder;
    decoder.file = file;
    decoder.atLeast = options.AtLeast;
    decoder.region = options.Region;
    decoder.headerOnly = options.HeaderOnly;
    decoder.cancelled = options.Cancelled;
    decoder.cinfo.err = &decoder.error.pub;
    decoder.cinfo.client_data = &decoder;
    InstallErrorManager(decoder.error);
    const bool ok = Decode(decoder, data, size);
    const QSize stored(static_cast<int>(decoder.cinfo.image_width),
                       static_cast<int>(decoder.cinfo.image_height));
    jpeg_destroy_decompress(&decoder.cinfo);
    if (decoder.wasCancelled) {
        return {};
    }
    if (decoder.tooLarge) {
        throw EPictureError(ReadError(name, QStringLiteral("the picture is too large (%1 x %2 pixels)")
                                                .arg(decoder.cinfo.image_width)
                                                .arg(decoder.cinfo.image_height)));
    }
    if (decoder.outOfMemory) {
        throw EPictureError(ReadError(name, QStringLiteral("not enough memory for %1 x %2 pixels")
                                                .arg(decoder.cinfo.output_width)
                                                .arg(decoder.cinfo.output_height)));
    }
    if (!ok) {
        throw EPictureError(ReadError(name, QString::fromLocal8Bit(decoder.error.message)));
    }
    TJpegPart part;
    part.Orientation = decoder.orientation;
    part.Upright = Orientation::UprightSize(stored, decoder.orientation);
    if (!decoder.region.isEmpty() && !decoder.image.isNull()) {
        decoder.image = decoder.image.copy(decoder.wanted.translated(-decoder.decoded.topLeft()));
    }
    part.Image = Orientation::Upright(decoder.image, decoder.orientation);
    return part;
}

// Compressed bytes go into a growing byte array the encoder owns.
struct TEncoder {
    jpeg_compress_struct cinfo{};
    TErrorManager error{};
    jpeg_destination_mgr destination{};
    QByteArray bytes;
};

TEncoder& EncoderOf(j_compress_ptr cinfo) {
    return *static_cast<TEncoder*>(cinfo->client_data);
}

void InitDestination(j_compress_ptr cinfo) {
    TEncoder& encoder = EncoderOf(cinfo);
    encoder.bytes.resize(64 * 1024);
    encoder.destination.next_output_byte = reinterpret_cast<JOCTET*>(encoder.bytes.data());
    encoder.destination.free_in_buffer = static_cast<size_t>(encoder.bytes.size());
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    TEncoder& encoder = EncoderOf(cinfo);
    const qsizetype used = encoder.bytes.size();
    encoder.bytes.resize(used * 2);
    encoder.destination.next_output_byte = reinterpret_cast<JOCTET*>(encoder.bytes.data()) + used;
    encoder.destination.free_in_buffer = static_cast<size_t>(encoder.bytes.size() - used);
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    TEncoder& encoder = EncoderOf(cinfo);
    encoder.bytes.resize(encoder.bytes.size() - static_cast<qsizetype>(encoder.destination.free_in_buffer));
}

bool Encode(TEncoder& encoder, const QImage& image, int quality) {
    jpeg_compress_struct& cinfo = encoder.cinfo;
    if (setjmp(encoder.error.jump)) {
        return false;
    }
    jpeg_create_compress(&cinfo);
    encoder.destination.init_destination = InitDestination;
    encoder.destination.empty_output_buffer = EmptyOutputBuffer;
    encoder.destination.term_destination = TermDestination;
    cinfo.dest = &encoder.destination;
    const bool grey = image.format() == QImage::Format_Grayscale8;
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

QImage LoadJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EPictureError(ReadError(path, file.errorString()));
    }
    return DecodeOrThrow(&file, nullptr, 0, path).Image;
}

int JpegScaleFor(const QSize& picture, const QSize& atLeast) {
    // libjpeg rounds a scaled side up: ceil(side * n / 8).
    const auto reaches = [](int side, int n, int wanted) { return (qint64(side) * n + 7) / 8 >= wanted; };
    for (int n = 1; n < 8; ++n) {
        if (reaches(picture.width(), n, atLeast.width()) && reaches(picture.height(), n, atLeast.height())) {
            return n;
        }
    }
    return 8;
}

QImage LoadJpegScaled(const QString& path, const QSize& atLeast) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EPictureError(ReadError(path, file.errorString()));
    }
    TDecodeOptions options;
    options.AtLeast = atLeast;
    return DecodeOrThrow(&file, nullptr, 0, path, options).Image;
}

TJpegPart ReadJpegHeader(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EPictureError(ReadError(path, file.errorString()));
    }
    TDecodeOptions options;
    options.HeaderOnly = true;
    return DecodeOrThrow(&file, nullptr, 0, path, options);
}

TJpegPart LoadJpegPart(const QString& path, const QRect& region, const QSize& atLeast,
                       const std::function<bool()>& cancelled) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EPictureError(ReadError(path, file.errorString()));
    }
    TDecodeOptions options;
    options.Region = region;
    options.AtLeast = region.isEmpty() ? atLeast : QSize();
    options.Cancelled = &cancelled;
    return DecodeOrThrow(&file, nullptr, 0, path, options);
}

QImage LoadJpeg(const QByteArray& bytes, const QString& name) {
    return DecodeOrThrow(nullptr, reinterpret_cast<const uchar*>(bytes.constData()),
                         static_cast<unsigned long>(bytes.size()), name)
        .Image;
}

QByteArray EncodeJpeg(const QImage& image, const QString& name, int quality) {
    if (image.isNull()) {
        throw EPictureError(WriteError(name, QStringLiteral("the picture is empty")));
    }
    const QImage source =
        image.format() == QImage::Format_Grayscale8 ? image : image.convertToFormat(QImage::Format_RGB888);
    TEncoder encoder;
    encoder.cinfo.err = &encoder.error.pub;
    encoder.cinfo.client_data = &encoder;
    InstallErrorManager(encoder.error);
    const bool ok = Encode(encoder, source, std::clamp(quality, 1, 100));
    jpeg_destroy_compress(&encoder.cinfo);
    if (!ok) {
        throw EPictureError(WriteError(name, QString::fromLocal8Bit(encoder.error.message)));
    }
    return std::move(encoder.bytes);
}

void SaveJpeg(const QImage& image, const QString& path, int quality) {
    const QByteArray bytes = EncodeJpeg(image, path, quality);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw EPictureError(WriteError(path, file.errorString()));
    }
}
