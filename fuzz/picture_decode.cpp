// What "Hent Billede" decodes before it writes anything: JPEG, PNG and HEIC/HEIF bytes of any kind.
// Either EPictureError or an upright picture within the size limit.
#include "pictures/JpegLoader.h"
#include "pictures/PictureDecode.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_picture_decode";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv); // Qt's image readers want one
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const QImage image = PictureDecode::Decode(bytes, QStringLiteral("fuzz"));
        if (image.isNull() || qint64(image.width()) * image.height() > 120'000'000 ||
            image.hasAlphaChannel()) {
            std::abort();
        }
    } catch (const EPictureError&) {
    }
    return 0;
}
