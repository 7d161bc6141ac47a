#include "displaypicture.h"

#include <algorithm>

namespace bootscreen {

int DisplayPicture::litCount() const
{
    return int(std::count(lit.begin(), lit.end(), 1));
}

DisplayPicture DisplayPicture::inverted() const
{
    DisplayPicture result;
    for (size_t i = 0; i < lit.size(); ++i)
        result.lit[i] = lit[i] ? 0 : 1;
    return result;
}

ScreenBuffer packPicture(const DisplayPicture &picture)
{
    ScreenBuffer screen{};
    for (int entry = 0; entry < EntryCount; ++entry) {
        std::int32_t value = 0;
        for (int bit = 0; bit < BitsPerEntry; ++bit) {
            const DisplayPixel pixel = pixelForEntryBit(entry, bit);
            if (picture.isLit(pixel.column, pixel.row))
                value |= std::int32_t{1} << bit;
        }
        screen[static_cast<size_t>(entry)] = value;
    }
    return screen;
}

DisplayPicture unpackPicture(const ScreenBuffer &screen)
{
    DisplayPicture picture;
    for (int entry = 0; entry < EntryCount; ++entry) {
        for (int bit = 0; bit < BitsPerEntry; ++bit) {
            const DisplayPixel pixel = pixelForEntryBit(entry, bit);
            picture.setLit(pixel.column, pixel.row,
                           entryBitIsSet(screen[static_cast<size_t>(entry)], bit));
        }
    }
    return picture;
}

} // namespace bootscreen
