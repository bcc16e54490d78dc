// Amounts: any text either is no amount or an amount whose written forms read back as the same
// amount, with Danish and with English separators.
#include "store/Money.h"
#include "store/FormatSettings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    static const TFormatSettings settings[] = {TFormatSettings::Danish(), TFormatSettings::English()};
    for (const TFormatSettings& format : settings) {
        const std::optional<TMoney> money = TMoney::Parse(text, format);
        if (!money) {
            continue;
        }
        if (TMoney::Parse(money->ToString(format), format) != money ||
            TMoney::Parse(money->ToGeneralString(format), format) != money) {
            std::abort();
        }
    }
    return 0;
}
