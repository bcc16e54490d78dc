// Comma lists: any text reads as a list, and a list written as a comma text (also inside an encoded
// language-file value) reads back as the same list.
#include "localisation/LocalUtils.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    LocalUtils::CommaTextToList(text);

    // The input as a list: items separated by byte 0xFF. A NUL ends a comma text, so such an item
    // cannot survive.
    const QStringList items = size == 0 ? QStringList() : text.split(QChar(0xFF));
    if (text.contains(QChar(0))) {
        return 0;
    }
    const QString written = LocalUtils::CommaText(items);
    if (LocalUtils::CommaTextToList(written) != items) {
        std::abort();
    }
    // Encoding adds an opening quote, so a text beginning with "#" is as lost as one holding a quote and "#".
    if (!written.contains(QStringLiteral("\"#")) && !written.startsWith(QLatin1Char('#')) &&
        LocalUtils::CommaTextToList(LocalUtils::DecodeValue(LocalUtils::EncodeValue(written))) != items) {
        std::abort();
    }
    return 0;
}
