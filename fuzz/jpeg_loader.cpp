// The JPEG loader on arbitrary bytes, from memory and from a file (read in chunks): either both
// raise EPictureError or both give the same picture.
#include "pictures/JpegLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QString TempFile() {
    // In memory where possible: the language file is rewritten through QSaveFile, which syncs.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/habitra-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/habitra-fuzz-XXXXXX"));
    return dir.filePath(QStringLiteral("Fuzz.jpg"));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QImage fromMemory;
    bool memoryFailed = false;
    try {
        fromMemory = LoadJpeg(bytes, QStringLiteral("fuzz"));
    } catch (const EPictureError&) {
        memoryFailed = true;
    }

    const QString path = TempFile();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::abort();
    }
    file.close();
    QImage fromFile;
    bool fileFailed = false;
    try {
        fromFile = LoadJpeg(path);
    } catch (const EPictureError&) {
        fileFailed = true;
    }
    if (memoryFailed != fileFailed || fromMemory != fromFile) {
        std::abort();
    }
    return 0;
}
