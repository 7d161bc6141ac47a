#include "pixelfont.h"

#include "utf8.h"

#include <algorithm>

namespace pixelfont {

const std::uint8_t *Font::glyph(char32_t codePoint) const
{
    const char32_t *end = codePoints + glyphCount;
    const char32_t *found = std::lower_bound(codePoints, end, codePoint);
    if (found == end || *found != codePoint)
        return nullptr;
    return rows + (found - codePoints) * cellHeight;
}

const Font *fontNamed(std::string_view name)
{
    for (const Font *font : bundledFonts()) {
        if (name == font->name)
            return font;
    }
    return nullptr;
}

bool anyFontHas(char32_t codePoint)
{
    const std::vector<const Font *> &fonts = bundledFonts();
    return std::any_of(fonts.begin(), fonts.end(),
                       [codePoint](const Font *font) { return font->glyph(codePoint) != nullptr; });
}

int lineGap(const Font &font)
{
    bool topRowUsed = false;
    bool bottomRowUsed = false;
    for (int index = 0; index < font.glyphCount; ++index) {
        const std::uint8_t *glyphRows = font.rows + index * font.cellHeight;
        topRowUsed = topRowUsed || glyphRows[0] != 0;
        bottomRowUsed = bottomRowUsed || glyphRows[font.cellHeight - 1] != 0;
    }
    return topRowUsed && bottomRowUsed ? 1 : 0;
}

const Font &labelFont()
{
    static const Font &font = *fontNamed("fixed-5x7");
    return font;
}

int labelLineHeight()
{
    // Two blank rows: accents above capitals and descenders below stay apart.
    return labelFont().cellHeight + 2;
}

void drawText(std::vector<std::uint8_t> &rgba, int width, int height, int left, int top,
              const std::string &text, const std::uint8_t (&colour)[4], const Font &font)
{
    const auto plot = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        std::uint8_t *pixel = &rgba[static_cast<std::size_t>(y * width + x) * 4];
        std::copy(colour, colour + 4, pixel);
    };
    int cellLeft = left;
    for (const char32_t character : utf8::decode(text).text) {
        const std::uint8_t *glyph = font.glyph(character);
        // The box leaves the cell's last column and row blank, as the glyphs do.
        const int boxRight = font.cellWidth - 2;
        const int boxBottom = font.cellHeight - 2;
        for (int y = 0; y < font.cellHeight; ++y) {
            for (int x = 0; x < font.cellWidth; ++x) {
                const bool onBox = x <= boxRight && y <= boxBottom &&
                                   (x == 0 || y == 0 || x == boxRight || y == boxBottom);
                if (glyph ? isLit(glyph, x, y) : onBox)
                    plot(cellLeft + x, top + y);
            }
        }
        cellLeft += font.cellWidth;
    }
}

} // namespace pixelfont
