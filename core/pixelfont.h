#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A small built-in 5 x 7 pixel font for the labels the programs draw themselves: the same on
// every machine, with no font files and no display. It has the lower-case letters, the digits
// and - . ( ) :; any other character is drawn as a hollow box.
namespace pixelfont {

constexpr int GlyphWidth = 5;
constexpr int GlyphHeight = 7;
constexpr int Advance = GlyphWidth + 1; // one column between characters
constexpr int LineHeight = GlyphHeight + 2;

// Whether pixel (x, y) of the glyph for `character` is set; x in [0, 5), y in [0, 7).
bool isSet(char character, int x, int y);

// How wide `text` is when drawn, in pixels.
int textWidth(const std::string &text);

// Draws `text` with its top-left corner at (left, top) into rows of straight RGBA, `width`
// pixels wide; what falls outside the picture is left out.
void drawText(std::vector<std::uint8_t> &rgba, int width, int height, int left, int top,
              const std::string &text, const std::uint8_t (&colour)[4]);

} // namespace pixelfont
