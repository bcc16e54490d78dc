// The EXIF orientation reader on arbitrary bytes, as found in a JPEG's APP1 segment: it must answer
// 1 to 8 and never read outside the block.
#include "pictures/Orientation.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the block's length, so that any read beyond it is caught.
    const std::vector<unsigned char> block(data, data + size);
    const int orientation = Orientation::FromExif(block.data(), block.size());
    if (orientation < 1 || orientation > 8) {
        std::abort();
    }
    return 0;
}
