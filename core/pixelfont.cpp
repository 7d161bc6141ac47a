#include "pixelfont.h"

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

} // namespace pixelfont
