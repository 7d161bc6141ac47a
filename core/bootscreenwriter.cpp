#include "bootscreenwriter.h"

#include "bootscreenformat.h"

namespace bootscreen {

std::string formatScreen(const ScreenBuffer &screen)
{
    std::string bytes;
    bytes.reserve(EntryCount * 5); // "255\r\n", the longest line packing produces
    for (const std::int32_t entry : screen) {
        bytes += entryText(entry);
        bytes += LineEnd;
    }
    return bytes;
}

} // namespace bootscreen
