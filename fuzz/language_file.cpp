// The language-file reader on arbitrary file contents: every section and key reads back the same
// way through the section list and through single lookups, and a written value reads back.
#include "localisation/LanguageFile.h"
#include "store/Error.h"

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
    return dir.filePath(QStringLiteral("Fuzz.lng"));
}

void Write(const QString& path, const uint8_t* data, size_t size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
        std::abort();
    }
}

bool IsPlainAscii(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 32 || c.unicode() > 126) {
            return false;
        }
    }
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = TempFile();
    Write(path, data, size);
    try {
        TLanguageFile file(path);
        file.CharSet();
        QStringList values;
        for (const QString& section : file.Sections()) {
            file.ReadSectionValues(section, values);
            for (const QString& line : values) {
                const qsizetype equals = line.indexOf(QLatin1Char('='));
                const QString key = line.left(equals);
                // A key that itself contains "=" cannot be told apart from its value.
                if (equals < 0 || key.contains(QLatin1Char('='))) {
                    continue;
                }
                if (file.ReadString(section, key, QString()) != line.mid(equals + 1)) {
                    std::abort();
                }
            }
        }

        // A value taken from the input, written and read back in memory and from disk.
        const QString value =
            QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size > 64 ? 64 : size));
        file.WriteString(QStringLiteral("Fuzz"), QStringLiteral("Text"), value);
        const bool survives = !value.contains(QStringLiteral("\"#")) && !value.startsWith(QLatin1Char('#'));
        if (survives && file.ReadString(QStringLiteral("Fuzz"), QStringLiteral("Text"), QString()) != value) {
            std::abort();
        }
        const TLanguageFile reread(path);
        if (survives && IsPlainAscii(value) &&
            reread.ReadString(QStringLiteral("Fuzz"), QStringLiteral("Text"), QString()) != value) {
            std::abort();
        }
    } catch (const EHabitraError&) {
    }
    return 0;
}
