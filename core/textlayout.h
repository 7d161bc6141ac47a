#pragma once

#include "displaypicture.h"
#include "geometry.h"
#include "pixelfont.h"

#include <cstddef>
#include <string>
#include <variant>
#include <vector>

// Lines of text set in a bundled pixel font inside an area of the display.
namespace textlayout {

// Clockwise turns of the text. Quarter makes it read from top to bottom along the display's
// long side; Auto takes the direction that allows the larger font, upright when equal.
enum class Rotation { None, Quarter, ThreeQuarters, Auto };

enum class Alignment { Left, Center, Right };

struct Options
{
    const pixelfont::Font *font = nullptr; // nullptr: the largest bundled font that fits
    Rotation rotation = Rotation::Auto;
    Alignment alignment = Alignment::Center;
    geometry::Rect area{0, 0, bootscreen::DisplayColumns, bootscreen::DisplayRows};
    // Break a line at its spaces where it is too long for the area; never inside a word.
    bool wrap = false;
};

struct Error
{
    enum class Kind {
        NoText,         // no line at all
        InvalidUtf8,    // `line`, `byteOffset`
        NoBundledGlyph, // `line`, `codePoint`: no bundled font has it
        FontLacksGlyph, // `line`, `codePoint`, `font`: the chosen font lacks it
        AreaOutside,    // the area is empty or reaches past the display
        DoesNotFit,     // `font`, `textSize`, `room`, `quarterTurns`
    };
    explicit Error(Kind kind = Kind::NoText) : kind(kind) {}

    Kind kind;
    int line = 0; // counted from 0
    std::size_t byteOffset = 0;
    char32_t codePoint = 0;
    const pixelfont::Font *font = nullptr;
    // For DoesNotFit: the text in `font` (the named one, or else the smallest), line length by
    // number of lines, and the room the area leaves it when turned by `quarterTurns`.
    geometry::Size textSize;
    geometry::Size room;
    int quarterTurns = 0;
    bool smallestFont = false; // `font` was not named but is the smallest that has the text
    bool wrapped = false;      // `textSize` is of the lines broken at their spaces
};

using Lines = std::vector<std::u32string>;

// The lines' characters; an error for a line that is not UTF-8 or holds a character that no
// bundled font has.
std::variant<Lines, Error> decodeLines(const std::vector<std::string> &lines);

// The font and direction the lines are set in, and the lines as set: those given, each broken
// at its spaces where wrapping needed it.
struct Layout
{
    const pixelfont::Font *font = nullptr;
    int quarterTurns = 0; // clockwise: 0, 1 or 3
    Lines lines;
};

// The size of the lines set in `font`: the longest line's cells by the lines' cells and the
// gaps between them.
geometry::Size textSize(const Lines &lines, const pixelfont::Font &font);

// The largest font the lines fit in; with `wrap`, the direction in which they break into the
// fewest lines in it; otherwise, or when equal, the first direction to try (upright under Auto).
std::variant<Layout, Error> chooseLayout(const Lines &lines, const Options &options);

// The layout's lines drawn in the area: lit text on dark, the rest of the display dark.
bootscreen::DisplayPicture draw(const Layout &layout, const Options &options);

// The three steps above in one: UTF-8 lines to the picture.
std::variant<bootscreen::DisplayPicture, Error> setText(const std::vector<std::string> &lines,
                                                        const Options &options);

} // namespace textlayout
