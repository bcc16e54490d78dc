// Value decoding and encoding: any raw value decodes, and an encoded text decodes back to itself
// unless it holds a double quote directly followed by "#" or begins with "#" (the opening quote then
// makes that pair).
#include "localisation/LocalUtils.h"

#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the character set that "#n" codes of 128 and more are read in.
    static const char* const encodings[] = {"windows-1252", "windows-1251", "Shift_JIS", "windows-1256"};
    const char* encoding = encodings[data[0] % 4];
    const QString raw = QString::fromLatin1(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    LocalUtils::DecodeValue(raw);
    LocalUtils::DecodeValue(raw, [encoding](unsigned char byte) -> QString {
        QStringDecoder decoder(encoding);
        return decoder.decode(QByteArray(1, char(byte)));
    });

    for (const QString& text :
         {raw, QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1))}) {
        if (text.contains(QStringLiteral("\"#")) || text.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (LocalUtils::DecodeValue(LocalUtils::EncodeValue(text)) != text) {
            std::abort();
        }
    }
    return 0;
}
