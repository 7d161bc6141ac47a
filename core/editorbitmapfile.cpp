#include "editorbitmapfile.h"

#include "editorbitmap.h"

#include <cstdint>

namespace editorbitmapfile {

namespace {

using bootscreen::DisplayColumns;
using bootscreen::DisplayRows;
using editorbitmap::GridHeight;
using editorbitmap::GridWidth;

void putLittleEndian(std::string &out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xff);
}

// Rows of 1-bit pixels are padded to whole 32-bit words (160 bits need none).
constexpr int RowBytes = (GridWidth + 31) / 32 * 4;
constexpr int PaletteBytes = 2 * 4;
constexpr int PixelOffset = 14 + 40 + PaletteBytes;
constexpr int ImageBytes = RowBytes * GridHeight;
// 100 dots per inch (3937 dots per metre): what tbs has always written, the resolution Qt
// gives an image made without a screen, so that files saved before and now are the same.
constexpr std::uint32_t DotsPerMetre = 3937;

} // namespace

std::string bitmapFile(const bootscreen::DisplayPicture &picture)
{
    std::string out;
    out.reserve(PixelOffset + ImageBytes);
    out += "BM";
    putLittleEndian(out, PixelOffset + ImageBytes, 4);
    putLittleEndian(out, 0, 4);
    putLittleEndian(out, PixelOffset, 4);
    putLittleEndian(out, 40, 4); // BITMAPINFOHEADER
    putLittleEndian(out, GridWidth, 4);
    putLittleEndian(out, GridHeight, 4); // positive: rows run bottom-up
    putLittleEndian(out, 1, 2);          // planes
    putLittleEndian(out, 1, 2);          // bits per pixel
    putLittleEndian(out, 0, 4);          // no compression
    putLittleEndian(out, ImageBytes, 4);
    putLittleEndian(out, DotsPerMetre, 4);
    putLittleEndian(out, DotsPerMetre, 4);
    putLittleEndian(out, 2, 4);        // colours used
    putLittleEndian(out, 2, 4);        // colours important
    putLittleEndian(out, 0x000000, 4); // index 0: black
    putLittleEndian(out, 0xffffff, 4); // index 1: white
    for (int y = GridHeight - 1; y >= 0; --y) {
        std::string row(RowBytes, '\0');
        const int cellRow = y / editorbitmap::CellSize;
        const bool interiorRow = y >= editorbitmap::interiorTop(cellRow);
        for (int column = 0; interiorRow && cellRow < DisplayRows && column < DisplayColumns;
             ++column) {
            if (!picture.isLit(column, cellRow))
                continue;
            const int left = editorbitmap::interiorLeft(column);
            for (int x = left; x < left + editorbitmap::InteriorSize; ++x)
                row[size_t(x / 8)] = static_cast<char>(row[size_t(x / 8)] | (0x80 >> (x % 8)));
        }
        out += row;
    }
    return out;
}

} // namespace editorbitmapfile
