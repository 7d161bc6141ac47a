#include "editorbitmap.h"

namespace editorbitmap {

namespace {

// A channel composited over black, as the editor paints an opened picture onto its black
// canvas.
int overBlack(int channel, int alpha)
{
    return (channel * alpha + 127) / 255;
}

bool isWhite(const std::uint8_t *rgba)
{
    return rgba[3] == 255 && rgba[0] == 255 && rgba[1] == 255 && rgba[2] == 255;
}

bool openedPixelIsOn(const std::uint8_t *rgba)
{
    return pixelIsOn(overBlack(rgba[2], rgba[3]));
}

bool isBlackOrWhite(const std::uint8_t *rgba)
{
    if (isWhite(rgba))
        return true;
    const int alpha = rgba[3];
    return overBlack(rgba[0], alpha) == 0 && overBlack(rgba[1], alpha) == 0 &&
           overBlack(rgba[2], alpha) == 0;
}

} // namespace

bool isEditorBitmap(const RgbaView &picture)
{
    if (picture.isNull() || picture.width != GridWidth || picture.height != GridHeight)
        return false;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint8_t *line = picture.row(y);
        for (int x = 0; x < picture.width; ++x) {
            if (!isBlackOrWhite(line + 4 * x))
                return false;
        }
    }
    return true;
}

bootscreen::DisplayPicture cellsOf(const RgbaView &picture)
{
    bootscreen::DisplayPicture cells;
    for (int row = 0; row < bootscreen::DisplayRows; ++row) {
        const std::uint8_t *line = picture.row(interiorTop(row));
        for (int column = 0; column < bootscreen::DisplayColumns; ++column)
            cells.setLit(column, row, openedPixelIsOn(line + 4 * interiorLeft(column)));
    }
    return cells;
}

} // namespace editorbitmap
