#include "imagelimit.h"

#include <cstdint>

namespace imagelimit {

bool fits(int width, int height, int bitsPerPixel, int megabytes)
{
    if (megabytes <= 0 || width < 0 || height < 0)
        return true;
    const std::int64_t bytesPerLine = (std::int64_t{width} * bitsPerPixel + 31) / 32 * 4;
    const std::int64_t limit = std::int64_t{megabytes} * 1024 * 1024;
    // Divided rather than multiplied: a header may claim a size whose bytes overflow 64 bits.
    return bytesPerLine == 0 || height <= limit / bytesPerLine;
}

} // namespace imagelimit
