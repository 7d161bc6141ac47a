#include "textlayout.h"

#include "displayarea.h"
#include "utf8.h"

#include <algorithm>
#include <optional>

namespace textlayout {

namespace {

// The room the text has in the area when turned by that many clockwise quarter turns: along
// its lines, and across them.
geometry::Size roomFor(const geometry::Rect &area, int quarterTurns)
{
    const geometry::Size upright{area.width, area.height};
    return quarterTurns % 2 == 0 ? upright : upright.transposed();
}

bool fits(const geometry::Size &text, const geometry::Size &room)
{
    return text.width <= room.width && text.height <= room.height;
}

std::vector<int> turnsToTry(Rotation rotation)
{
    switch (rotation) {
    case Rotation::None:
        return {0};
    case Rotation::Quarter:
        return {1};
    case Rotation::ThreeQuarters:
        return {3};
    case Rotation::Auto:
        break;
    }
    // Upright first: it stays when the other direction allows no larger font.
    return {0, 1};
}

// The fonts to choose from, smallest first.
std::vector<const pixelfont::Font *> fontsToTry(const Options &options)
{
    if (options.font)
        return {options.font};
    return pixelfont::bundledFonts();
}

std::optional<Error> missingGlyph(const Lines &lines, const pixelfont::Font &font)
{
    for (std::size_t line = 0; line < lines.size(); ++line) {
        for (const char32_t codePoint : lines[line]) {
            if (!font.glyph(codePoint)) {
                Error error{Error::Kind::FontLacksGlyph};
                error.line = static_cast<int>(line);
                error.codePoint = codePoint;
                error.font = &font;
                return error;
            }
        }
    }
    return std::nullopt;
}

// The line broken at its spaces into the fewest lines of at most `columns` characters, the
// spaces at each break dropped. For a monospaced font, taking as many words as fit on each line
// gives the fewest lines. A word longer than that stays whole on a line of its own.
void appendWrapped(const std::u32string &line, std::size_t columns, Lines *into)
{
    const std::size_t before = into->size();
    std::size_t start = 0;
    while (line.size() - start > columns) {
        // The last space that ends a line of at most `columns` characters, else the word's end.
        std::size_t end = line.rfind(U' ', start + columns);
        if (end == std::u32string::npos || end < start)
            end = std::min(line.find(U' ', start), line.size());
        std::size_t kept = end;
        while (kept > start && line[kept - 1] == U' ')
            --kept;
        if (kept > start)
            into->push_back(line.substr(start, kept - start));
        start = std::min(line.find_first_not_of(U' ', end), line.size());
    }
    // A line of spaces alone stays a line, blank.
    if (start < line.size() || into->size() == before)
        into->push_back(line.substr(start));
}

// The lines as they are set in `font` in that room: as given, or with `wrap` broken to its width.
Lines linesIn(const Lines &lines, const pixelfont::Font &font, const geometry::Size &room,
              bool wrap)
{
    if (!wrap)
        return lines;
    Lines result;
    for (const std::u32string &line : lines)
        appendWrapped(line, std::size_t(room.width / font.cellWidth), &result);
    return result;
}

// How many times too large the text is for the room, in its worse dimension.
double overflow(const geometry::Size &text, const geometry::Size &room)
{
    return std::max(double(text.width) / room.width, double(text.height) / room.height);
}

Error doesNotFit(const Lines &lines, const Options &options, const pixelfont::Font &font)
{
    // Reported for the direction the text comes closest to fitting in; upright when equal.
    Error error{Error::Kind::DoesNotFit};
    double closest = 0;
    for (const int turns : turnsToTry(options.rotation)) {
        const geometry::Size room = roomFor(options.area, turns);
        const Lines set = linesIn(lines, font, room, options.wrap);
        const geometry::Size size = textSize(set, font);
        if (error.font && overflow(size, room) >= closest)
            continue;
        closest = overflow(size, room);
        error.font = &font;
        error.textSize = size;
        error.room = room;
        error.quarterTurns = turns;
        error.wrapped = set.size() > lines.size();
    }
    error.smallestFont = options.font == nullptr;
    return error;
}

// The text's own cell at (column, row) of its upright block, laid out as asked.
class TextBlock
{
public:
    TextBlock(const Lines &lines, const pixelfont::Font &font, Alignment alignment,
              const geometry::Size &room)
        : lines(lines), font(font), pitch(font.cellHeight + pixelfont::lineGap(font))
    {
        const geometry::Size size = textSize(lines, font);
        top = (room.height - size.height) / 2;
        for (const std::u32string &line : lines) {
            const int width = static_cast<int>(line.size()) * font.cellWidth;
            lefts.push_back(alignment == Alignment::Left    ? 0
                            : alignment == Alignment::Right ? room.width - width
                                                            : (room.width - width) / 2);
        }
    }

    bool isLit(int x, int y) const
    {
        const int fromTop = y - top;
        if (fromTop < 0)
            return false;
        const std::size_t line = static_cast<std::size_t>(fromTop / pitch);
        const int row = fromTop % pitch;
        if (line >= lines.size() || row >= font.cellHeight)
            return false;
        const int fromLeft = x - lefts[line];
        if (fromLeft < 0)
            return false;
        const std::size_t cell = static_cast<std::size_t>(fromLeft / font.cellWidth);
        if (cell >= lines[line].size())
            return false;
        const std::uint8_t *glyph = font.glyph(lines[line][cell]);
        return glyph && pixelfont::isLit(glyph, fromLeft % font.cellWidth, row);
    }

private:
    const Lines &lines;
    const pixelfont::Font &font;
    int pitch;
    int top = 0;
    std::vector<int> lefts;
};

} // namespace

std::variant<Lines, Error> decodeLines(const std::vector<std::string> &lines)
{
    if (lines.empty())
        return Error{Error::Kind::NoText};
    Lines decoded;
    for (std::size_t line = 0; line < lines.size(); ++line) {
        utf8::Decoded characters = utf8::decode(lines[line]);
        Error error;
        error.line = static_cast<int>(line);
        if (characters.invalidAt) {
            error.kind = Error::Kind::InvalidUtf8;
            error.byteOffset = *characters.invalidAt;
            return error;
        }
        const auto missing =
            std::find_if_not(characters.text.begin(), characters.text.end(), pixelfont::anyFontHas);
        if (missing != characters.text.end()) {
            error.kind = Error::Kind::NoBundledGlyph;
            error.codePoint = *missing;
            return error;
        }
        decoded.push_back(std::move(characters.text));
    }
    return decoded;
}

geometry::Size textSize(const Lines &lines, const pixelfont::Font &font)
{
    std::size_t longest = 0;
    for (const std::u32string &line : lines)
        longest = std::max(longest, line.size());
    const int count = static_cast<int>(lines.size());
    return {static_cast<int>(longest) * font.cellWidth,
            count * font.cellHeight + (count - 1) * pixelfont::lineGap(font)};
}

std::variant<Layout, Error> chooseLayout(const Lines &lines, const Options &options)
{
    if (lines.empty())
        return Error{Error::Kind::NoText};
    if (!displayarea::isOnDisplay(options.area))
        return Error{Error::Kind::AreaOutside};
    std::optional<Error> firstLacking;
    std::vector<const pixelfont::Font *> usable;
    for (const pixelfont::Font *font : fontsToTry(options)) {
        std::optional<Error> missing = missingGlyph(lines, *font);
        if (!missing)
            usable.push_back(font);
        else if (!firstLacking)
            firstLacking = missing;
    }
    if (usable.empty())
        return *firstLacking;
    // The largest font wins; among its directions, the first to set the fewest lines.
    for (auto font = usable.rbegin(); font != usable.rend(); ++font) {
        std::optional<Layout> best;
        for (const int turns : turnsToTry(options.rotation)) {
            const geometry::Size room = roomFor(options.area, turns);
            Lines set = linesIn(lines, **font, room, options.wrap);
            if (fits(textSize(set, **font), room) && (!best || set.size() < best->lines.size()))
                best = Layout{*font, turns, std::move(set)};
        }
        if (best)
            return std::move(*best);
    }
    return doesNotFit(lines, options, *usable.front());
}

bootscreen::DisplayPicture draw(const Layout &layout, const Options &options)
{
    const geometry::Rect &area = options.area;
    const geometry::Size room = roomFor(area, layout.quarterTurns);
    const TextBlock block(layout.lines, *layout.font, options.alignment, room);
    bootscreen::DisplayPicture picture;
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x) {
            // The block pixel that lands on (x, y) of the area once the block is turned.
            const int u = layout.quarterTurns == 1   ? y
                          : layout.quarterTurns == 3 ? room.width - 1 - y
                                                     : x;
            const int v = layout.quarterTurns == 1   ? room.height - 1 - x
                          : layout.quarterTurns == 3 ? x
                                                     : y;
            if (block.isLit(u, v))
                picture.setLit(area.left + x, area.top + y, true);
        }
    }
    return picture;
}

std::variant<bootscreen::DisplayPicture, Error> setText(const std::vector<std::string> &lines,
                                                        const Options &options)
{
    std::variant<Lines, Error> decoded = decodeLines(lines);
    if (const Error *error = std::get_if<Error>(&decoded))
        return *error;
    const std::variant<Layout, Error> layout = chooseLayout(std::get<Lines>(decoded), options);
    if (const Error *error = std::get_if<Error>(&layout))
        return *error;
    return draw(std::get<Layout>(layout), options);
}

} // namespace textlayout
