#include "screenimage.h"

namespace screenimage {

void rgbaRow(const bootscreen::DisplayPicture &picture, int scale, int y, std::uint8_t *row)
{
    const int width = bootscreen::DisplayColumns * scale;
    for (int x = 0; x < width; ++x, row += 4) {
        const std::uint8_t level = picture.isLit(x / scale, y / scale) ? 255 : 0;
        row[0] = row[1] = row[2] = level;
        row[3] = 255;
    }
}

std::vector<std::uint8_t> rgba(const bootscreen::DisplayPicture &picture, int scale)
{
    const size_t rowBytes = size_t(bootscreen::DisplayColumns) * size_t(scale) * 4;
    std::vector<std::uint8_t> pixels(rowBytes * size_t(bootscreen::DisplayRows) * size_t(scale));
    for (int y = 0; y < bootscreen::DisplayRows * scale; ++y)
        rgbaRow(picture, scale, y, pixels.data() + size_t(y) * rowBytes);
    return pixels;
}

} // namespace screenimage
