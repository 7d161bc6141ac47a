// The bundled fonts' tables, checked once as data: the advertised sizes, every glyph inside its
// cell, the printable Latin-1 characters all drawn, and the line gap keeping lines apart.

#include "pixelfont.h"

#include <doctest/doctest.h>

#include <string>

using pixelfont::Font;

namespace {

std::u32string printableLatin1()
{
    std::u32string characters;
    for (char32_t c = 0x20; c <= 0xFF; ++c) {
        if (c < 0x7F || c >= 0xA0)
            characters += c;
    }
    return characters;
}

// The first and last rows a glyph lights, or {cellHeight, -1} for a blank glyph.
std::pair<int, int> litRows(const Font &font, const std::uint8_t *glyph)
{
    int first = font.cellHeight;
    int last = -1;
    for (int row = 0; row < font.cellHeight; ++row) {
        if (glyph[row] != 0) {
            first = std::min(first, row);
            last = row;
        }
    }
    return {first, last};
}

} // namespace

TEST_CASE("the bundled fonts run from about 4 x 6 to 8 x 16, each larger than the one before")
{
    const std::vector<const Font *> &fonts = pixelfont::bundledFonts();
    REQUIRE(fonts.size() >= 5);
    CHECK(fonts.front()->cellWidth <= 4);
    CHECK(fonts.front()->cellHeight <= 6);
    CHECK(fonts.back()->cellWidth >= 8);
    CHECK(fonts.back()->cellHeight >= 16);
    for (std::size_t i = 1; i < fonts.size(); ++i) {
        const std::string fontName = fonts[i]->name;
        CAPTURE(fontName);
        CHECK(fonts[i]->cellWidth >= fonts[i - 1]->cellWidth);
        CHECK(fonts[i]->cellHeight > fonts[i - 1]->cellHeight);
    }
}

TEST_CASE("each font's name advertises its cell size and finds the font")
{
    for (const Font *font : pixelfont::bundledFonts()) {
        const std::string fontName = font->name;
        CAPTURE(fontName);
        const std::string name = font->name;
        const std::string size =
            "-" + std::to_string(font->cellWidth) + "x" + std::to_string(font->cellHeight);
        CHECK(name.size() > size.size());
        CHECK(name.compare(name.size() - size.size(), size.size(), size) == 0);
        CHECK(pixelfont::fontNamed(name) == font);
    }
    CHECK(pixelfont::fontNamed("spleen") == nullptr);
    CHECK(pixelfont::fontNamed("") == nullptr);
}

TEST_CASE("every glyph lies inside its cell, in code point order")
{
    for (const Font *font : pixelfont::bundledFonts()) {
        const std::string fontName = font->name;
        CAPTURE(fontName);
        REQUIRE(font->cellWidth >= 1);
        REQUIRE(font->cellWidth <= 8);
        const unsigned outsideCell = 0xFFu >> font->cellWidth;
        for (int index = 0; index < font->glyphCount; ++index) {
            const unsigned codePoint = font->codePoints[index];
            CAPTURE(codePoint);
            if (index > 0)
                CHECK(font->codePoints[index - 1] < font->codePoints[index]);
            for (int row = 0; row < font->cellHeight; ++row)
                CHECK((font->rows[index * font->cellHeight + row] & outsideCell) == 0);
        }
    }
}

TEST_CASE("every font draws every printable Latin-1 character, and only the spaces blank")
{
    for (const Font *font : pixelfont::bundledFonts()) {
        const std::string fontName = font->name;
        CAPTURE(fontName);
        for (const char32_t c : printableLatin1()) {
            const unsigned codePoint = c;
            CAPTURE(codePoint);
            const std::uint8_t *glyph = font->glyph(c);
            REQUIRE(glyph != nullptr);
            const bool blank = litRows(*font, glyph).second < 0;
            CHECK(blank == (c == 0x20 || c == 0xA0));
            CHECK(pixelfont::anyFontHas(c));
        }
        CHECK(font->glyph(0x1F) == nullptr);
        CHECK(font->glyph(0x7F) == nullptr);
        CHECK(font->glyph(0x0416) == nullptr);
    }
    CHECK_FALSE(pixelfont::anyFontHas(0x0416));
}

TEST_CASE("with the line gap, a blank row parts any glyph from any glyph on the line below")
{
    for (const Font *font : pixelfont::bundledFonts()) {
        const std::string fontName = font->name;
        CAPTURE(fontName);
        const int pitch = font->cellHeight + pixelfont::lineGap(*font);
        int lowest = -1;
        int highest = font->cellHeight;
        for (const char32_t c : printableLatin1()) {
            const std::pair<int, int> rows = litRows(*font, font->glyph(c));
            highest = std::min(highest, rows.first);
            lowest = std::max(lowest, rows.second);
        }
        // The lower line's highest lit row, counted from the upper line's top.
        CHECK(pitch + highest - lowest >= 2);
        // A larger gap than needed would waste the display's few rows.
        if (pixelfont::lineGap(*font) > 0)
            CHECK(pitch - 1 + highest - lowest < 2);
    }
}
