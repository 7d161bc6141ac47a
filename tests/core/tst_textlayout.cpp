// Text set on the display: the font and direction chosen, alignment, areas, golden screens in
// data/text/, and the errors with their wording. TARROW_UPDATE_GOLDEN=1 rewrites the golden
// screens from what is set now; look at every changed one before keeping it.

#include "displayarea.h"
#include "textlayout.h"
#include "textwording.h"
#include "utf8.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

using bootscreen::DisplayColumns;
using bootscreen::DisplayPicture;
using bootscreen::DisplayRows;
using textlayout::Alignment;
using textlayout::Error;
using textlayout::Options;
using textlayout::Rotation;

namespace {

std::string rowsOf(const DisplayPicture &picture)
{
    std::string text;
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column)
            text += picture.isLit(column, row) ? '#' : '.';
        text += '\n';
    }
    return text;
}

DisplayPicture picture(const std::vector<std::string> &lines, const Options &options)
{
    const std::variant<DisplayPicture, Error> result = textlayout::setText(lines, options);
    if (const Error *error = std::get_if<Error>(&result))
        FAIL("unexpected error: " << textwording::message(*error));
    return std::get<DisplayPicture>(result);
}

textlayout::Layout layoutOf(const std::vector<std::string> &lines, const Options &options)
{
    const auto decoded = textlayout::decodeLines(lines);
    REQUIRE(std::holds_alternative<textlayout::Lines>(decoded));
    const auto layout = textlayout::chooseLayout(std::get<textlayout::Lines>(decoded), options);
    if (const Error *error = std::get_if<Error>(&layout))
        FAIL("unexpected error: " << textwording::message(*error));
    return std::get<textlayout::Layout>(layout);
}

Error errorOf(const std::vector<std::string> &lines, const Options &options)
{
    const std::variant<DisplayPicture, Error> result = textlayout::setText(lines, options);
    REQUIRE(std::holds_alternative<Error>(result));
    return std::get<Error>(result);
}

geometry::Rect litBounds(const DisplayPicture &picture)
{
    int left = DisplayColumns, top = DisplayRows, right = -1, bottom = -1;
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column) {
            if (picture.isLit(column, row)) {
                left = std::min(left, column);
                right = std::max(right, column);
                top = std::min(top, row);
                bottom = std::max(bottom, row);
            }
        }
    }
    return right < 0 ? geometry::Rect{}
                     : geometry::Rect{left, top, right - left + 1, bottom - top + 1};
}

DisplayPicture shifted(const DisplayPicture &picture, int right, int down)
{
    DisplayPicture result;
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column) {
            const int fromColumn = column - right, fromRow = row - down;
            if (fromColumn >= 0 && fromColumn < DisplayColumns && fromRow >= 0 &&
                fromRow < DisplayRows)
                result.setLit(column, row, picture.isLit(fromColumn, fromRow));
        }
    }
    return result;
}

Options options(const pixelfont::Font *font, Rotation rotation, Alignment alignment,
                geometry::Rect area = displayarea::WholeDisplay)
{
    Options result;
    result.font = font;
    result.rotation = rotation;
    result.alignment = alignment;
    result.area = area;
    return result;
}

Options wrapping(Options options)
{
    options.wrap = true;
    return options;
}

const pixelfont::Font *font(const char *name)
{
    const pixelfont::Font *found = pixelfont::fontNamed(name);
    REQUIRE(found != nullptr);
    return found;
}

// A golden screen: "key: value" lines naming the text and options, then the 128 rows.
struct Golden
{
    std::vector<std::string> lines;
    Options options;
    bool invert = false;
    bool litBase = false;
    std::string header;
    std::string rows;
};

geometry::Rect parseArea(const std::string &value)
{
    geometry::Rect area;
    char comma;
    std::istringstream in(value);
    in >> area.left >> comma >> area.top >> comma >> area.width >> comma >> area.height;
    return area;
}

Golden readGolden(const std::filesystem::path &path)
{
    static const std::map<std::string, Rotation> rotations{{"0", Rotation::None},
                                                           {"90", Rotation::Quarter},
                                                           {"270", Rotation::ThreeQuarters},
                                                           {"auto", Rotation::Auto}};
    static const std::map<std::string, Alignment> alignments{
        {"left", Alignment::Left}, {"center", Alignment::Center}, {"right", Alignment::Right}};
    Golden golden;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos) {
            golden.rows += line + '\n';
            continue;
        }
        golden.header += line + '\n';
        const std::string key = line.substr(0, colon), value = line.substr(colon + 2);
        if (key == "text")
            golden.lines.push_back(value);
        else if (key == "font")
            golden.options.font = value == "auto" ? nullptr : font(value.c_str());
        else if (key == "rotate")
            golden.options.rotation = rotations.at(value);
        else if (key == "align")
            golden.options.alignment = alignments.at(value);
        else if (key == "area")
            golden.options.area = parseArea(value);
        else if (key == "wrap")
            golden.options.wrap = value == "yes";
        else if (key == "invert")
            golden.invert = value == "yes";
        else if (key == "base")
            golden.litBase = value == "lit";
    }
    return golden;
}

} // namespace

TEST_CASE("golden screens: text set as each file's options say")
{
    const std::filesystem::path folder = std::filesystem::path(TARROW_CORE_TEST_DATA) / "text";
    const bool update = std::getenv("TARROW_UPDATE_GOLDEN") != nullptr;
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".screen")
            continue;
        ++count;
        const std::string file = entry.path().filename().string();
        CAPTURE(file);
        const Golden golden = readGolden(entry.path());
        const DisplayPicture base = golden.litBase ? DisplayPicture().inverted() : DisplayPicture();
        const DisplayPicture result = displayarea::composed(
            base, picture(golden.lines, golden.options), golden.options.area, golden.invert);
        if (update)
            std::ofstream(entry.path()) << golden.header << rowsOf(result);
        else
            CHECK(rowsOf(result) == golden.rows);
    }
    CHECK(count >= 5);
}

TEST_CASE("auto picks the largest font that fits, and the direction that allows it")
{
    const geometry::Rect whole = displayarea::WholeDisplay;
    const geometry::Rect bottom{0, 96, 32, 32};
    const geometry::Rect wide{0, 0, 32, 20};
    struct Row
    {
        const char *what;
        std::vector<std::string> lines;
        geometry::Rect area;
        Rotation rotation;
        const char *font;
        int quarterTurns;
    };
    const Row rows[] = {
        {"four letters fill the width upright", {"ANNA"}, whole, Rotation::Auto, "spleen-8x16", 0},
        {"five letters go along the long side", {"HELLO"}, whole, Rotation::Auto, "spleen-8x16", 1},
        {"two lines of 8x16 fill the short side",
         {"IF FOUND", "CALL 555"},
         whole,
         Rotation::Auto,
         "spleen-8x16",
         1},
        {"three lines need a smaller font",
         {"IF FOUND", "PLEASE", "CALL 555"},
         whole,
         Rotation::Auto,
         "fixed-6x10",
         1},
        {"upright stays when both allow the same",
         {"ANNA"},
         bottom,
         Rotation::Auto,
         "spleen-8x16",
         0},
        {"a square area keeps a long name upright",
         {"MÜLLER"},
         bottom,
         Rotation::Auto,
         "fixed-5x8",
         0},
        {"a wide low area keeps text upright", {"Zoë"}, wide, Rotation::Auto, "spleen-8x16", 0},
        {"an upright request takes a smaller font",
         {"HELLO"},
         whole,
         Rotation::None,
         "spleen-6x12",
         0},
        {"270 is honoured", {"HELLO"}, whole, Rotation::ThreeQuarters, "spleen-8x16", 3},
        {"32 characters of 4x6 fill the long side",
         {std::string(32, 'x')},
         whole,
         Rotation::Auto,
         "fixed-4x6",
         1},
    };
    for (const Row &row : rows) {
        const std::string what = row.what;
        CAPTURE(what);
        const textlayout::Layout layout =
            layoutOf(row.lines, options(nullptr, row.rotation, Alignment::Center, row.area));
        CHECK(std::string(layout.font->name) == row.font);
        CHECK(layout.quarterTurns == row.quarterTurns);
    }
}

TEST_CASE("wrap breaks lines at spaces into the fewest lines of the largest font that fits")
{
    const geometry::Rect W = displayarea::WholeDisplay, B{0, 96, 32, 32};
    const Rotation A = Rotation::Auto, U = Rotation::None;
    struct Row
    {
        std::vector<std::string> lines;
        geometry::Rect area;
        Rotation rotation;
        const char *named; // nullptr: auto
        std::string set;   // font, quarter turns, the lines as set joined by |
    };
    // A name on two lines; spaces at breaks dropped; as many words on a line as fit; lines given
    // stay apart and each wraps alone (spaces alone, too long, as a blank line); in one font, the
    // direction with fewer lines, upright when equal; a larger font wrapped rather than a smaller
    // one unbroken.
    const Row rows[] = {
        {{"ZOË MÜLLER"}, B, A, nullptr, "fixed-5x8 0 ZOË|MÜLLER"},
        {{"ZOË   MÜLLER  "}, B, A, nullptr, "fixed-5x8 0 ZOË|MÜLLER"},
        {{"IF FOUND CALL 555"}, W, U, "fixed-4x6", "fixed-4x6 0 IF FOUND|CALL 555"},
        {{"ZOË MÜLLER", "A B", "       ", "IF FOUND"},
         W,
         U,
         "fixed-5x8",
         "fixed-5x8 0 ZOË|MÜLLER|A B||IF|FOUND"},
        {{"ANNA BERG"}, W, A, nullptr, "spleen-8x16 1 ANNA BERG"},
        {{"ANNA BERG"}, B, A, nullptr, "spleen-8x16 0 ANNA|BERG"},
        {{"IF FOUND CALL 555"}, W, A, nullptr, "spleen-8x16 1 IF FOUND CALL|555"},
    };
    for (const Row &row : rows) {
        CAPTURE(row.set);
        const textlayout::Layout layout =
            layoutOf(row.lines, wrapping(options(row.named ? font(row.named) : nullptr,
                                                 row.rotation, Alignment::Center, row.area)));
        std::string set = layout.font->name + (" " + std::to_string(layout.quarterTurns));
        for (std::size_t i = 0; i < layout.lines.size(); ++i) {
            set += i ? "|" : " ";
            for (const char32_t character : layout.lines[i])
                set += utf8::encode(character);
        }
        CHECK(set == row.set);
    }
}

TEST_CASE("alignment moves each line within the room: right and center are left shifted")
{
    struct Row
    {
        const char *font;
        std::vector<std::string> lines;
        geometry::Rect area;
        int room; // the area's width
        int longest;
    };
    const Row rows[] = {
        {"fixed-4x6", {"Zoë"}, displayarea::WholeDisplay, 32, 3},
        {"fixed-5x8", {"ANNA"}, {3, 40, 27, 30}, 27, 4},
        {"fixed-6x10", {"ÅSA"}, {0, 0, 32, 10}, 32, 3},
    };
    for (const Row &row : rows) {
        const std::string fontName = row.font;
        CAPTURE(fontName);
        const pixelfont::Font *f = font(row.font);
        const int spare = row.room - row.longest * f->cellWidth;
        const DisplayPicture left =
            picture(row.lines, options(f, Rotation::None, Alignment::Left, row.area));
        const DisplayPicture center =
            picture(row.lines, options(f, Rotation::None, Alignment::Center, row.area));
        const DisplayPicture right =
            picture(row.lines, options(f, Rotation::None, Alignment::Right, row.area));
        CHECK(left.litCount() > 0);
        CHECK(litBounds(left).left >= row.area.left);
        CHECK(litBounds(left).left < row.area.left + f->cellWidth);
        CHECK(right == shifted(left, spare, 0));
        CHECK(center == shifted(left, spare / 2, 0));
    }
}

TEST_CASE("turned text is the upright text of the turned area, turned clockwise")
{
    // A square area: the room is the same either way, so only the turn differs.
    const geometry::Rect area{0, 96, 32, 32};
    const auto turnedClockwise = [&area](const DisplayPicture &picture) {
        DisplayPicture result;
        for (int y = 0; y < area.height; ++y) {
            for (int x = 0; x < area.width; ++x)
                result.setLit(area.left + area.width - 1 - y, area.top + x,
                              picture.isLit(area.left + x, area.top + y));
        }
        return result;
    };
    for (const Alignment alignment : {Alignment::Left, Alignment::Center, Alignment::Right}) {
        const pixelfont::Font *f = font("fixed-5x8");
        const std::vector<std::string> lines{"Øyvind", "Zoë"};
        const DisplayPicture upright = picture(lines, options(f, Rotation::None, alignment, area));
        const DisplayPicture quarter =
            picture(lines, options(f, Rotation::Quarter, alignment, area));
        const DisplayPicture threeQuarters =
            picture(lines, options(f, Rotation::ThreeQuarters, alignment, area));
        CHECK(quarter == turnedClockwise(upright));
        CHECK(threeQuarters == turnedClockwise(turnedClockwise(quarter)));
    }
}

TEST_CASE("text stays inside its area, and composing changes the area alone")
{
    const unsigned seed = 20240616;
    CAPTURE(seed);
    std::mt19937 random(seed);
    const std::vector<std::string> texts{"A", "Zoë", "Müller", "IF FOUND", "0123456789"};
    for (int round = 0; round < 200; ++round) {
        CAPTURE(round);
        const int width = 1 + int(random() % 32), height = 1 + int(random() % 128);
        const geometry::Rect area{int(random() % unsigned(33 - width)),
                                  int(random() % unsigned(129 - height)), width, height};
        const std::string &text = texts[random() % texts.size()];
        CAPTURE(text);
        const std::variant<DisplayPicture, Error> result =
            textlayout::setText({text}, options(nullptr, Rotation::Auto, Alignment::Center, area));
        if (const Error *error = std::get_if<Error>(&result)) {
            CHECK(error->kind == Error::Kind::DoesNotFit);
            continue;
        }
        const DisplayPicture &part = std::get<DisplayPicture>(result);
        CHECK(geometry::intersected(litBounds(part), area) == litBounds(part));
        DisplayPicture base;
        for (int i = 0; i < 600; ++i)
            base.setLit(int(random() % 32), int(random() % 128), true);
        const bool invert = random() % 2 == 1;
        const DisplayPicture composed = displayarea::composed(base, part, area, invert);
        for (int row = 0; row < DisplayRows; ++row) {
            for (int column = 0; column < DisplayColumns; ++column) {
                const bool inside = geometry::intersected({column, row, 1, 1}, area).width == 1;
                const bool expected =
                    inside ? part.isLit(column, row) != invert : base.isLit(column, row);
                if (composed.isLit(column, row) != expected)
                    FAIL("pixel " << column << "," << row << " is wrong");
            }
        }
    }
}

TEST_CASE("errors name what is wrong")
{
    static const char32_t onlyA[] = {U'A'};
    static const std::uint8_t aRows[] = {0x40, 0xA0, 0xE0, 0xA0};
    static const pixelfont::Font tiny{"tiny-3x4", 3, 4, onlyA, aRows, 1};
    struct Row
    {
        const char *what;
        std::vector<std::string> lines;
        Options options;
        Error::Kind kind;
        const char *message;
    };
    const Row rows[] = {
        {"no line", {}, Options{}, Error::Kind::NoText, "no text: give at least one line"},
        {"Latin-1 bytes",
         {"ok", "M\xFCller"},
         Options{},
         Error::Kind::InvalidUtf8,
         "line 2 is not valid UTF-8 (at byte 2)"},
        {"Cyrillic",
         {"\xD0\x96"},
         Options{},
         Error::Kind::NoBundledGlyph,
         "no bundled font has '\xD0\x96' (U+0416)"},
        {"a tab", {"A\tB"}, Options{}, Error::Kind::NoBundledGlyph, "no bundled font has U+0009"},
        {"a replaced byte",
         {"\xEF\xBF\xBD"},
         Options{},
         Error::Kind::NoBundledGlyph,
         "no bundled font has '\xEF\xBF\xBD' (U+FFFD), which stands for bytes that are not "
         "valid UTF-8"},
        {"a font without the letter",
         {"AB"},
         options(&tiny, Rotation::Auto, Alignment::Center),
         Error::Kind::FontLacksGlyph,
         "tiny-3x4 has no 'B' (U+0042)"},
        {"an area past the display",
         {"A"},
         options(nullptr, Rotation::Auto, Alignment::Center, {0, 100, 32, 29}),
         Error::Kind::AreaOutside,
         "the area is not on the 32 x 128 display"},
        {"an empty area",
         {"A"},
         options(nullptr, Rotation::Auto, Alignment::Center, {0, 0, 0, 5}),
         Error::Kind::AreaOutside,
         "the area is not on the 32 x 128 display"},
        {"33 characters",
         {std::string(33, 'x')},
         Options{},
         Error::Kind::DoesNotFit,
         "the text does not fit: in the smallest font, fixed-4x6, it is 132 x 6 pixels, and the "
         "area holds 128 x 32 for text turned by 90 degrees"},
        {"19 lines", std::vector<std::string>(19, "x"), Options{}, Error::Kind::DoesNotFit,
         "the text does not fit: in the smallest font, fixed-4x6, it is 4 x 132 pixels, and the "
         "area holds 32 x 128"},
        {"a named font upright",
         {"HELLO"},
         options(font("spleen-8x16"), Rotation::None, Alignment::Center),
         Error::Kind::DoesNotFit,
         "the text does not fit: in spleen-8x16 it is 40 x 16 pixels, and the area holds 32 x 128"},
        {"a square area",
         {"TOO LONG"},
         options(font("spleen-6x12"), Rotation::Auto, Alignment::Center, {0, 96, 32, 32}),
         Error::Kind::DoesNotFit,
         "the text does not fit: in spleen-6x12 it is 48 x 12 pixels, and the area holds 32 x 32"},
        {"turned the other way",
         {std::string(40, 'x')},
         options(nullptr, Rotation::ThreeQuarters, Alignment::Center),
         Error::Kind::DoesNotFit,
         "the text does not fit: in the smallest font, fixed-4x6, it is 160 x 6 pixels, and the "
         "area holds 128 x 32 for text turned by 270 degrees"},
        {"a name too long for a square area unwrapped",
         {"ZOË MÜLLER"},
         options(nullptr, Rotation::Auto, Alignment::Center, {0, 96, 32, 32}),
         Error::Kind::DoesNotFit,
         "the text does not fit: in the smallest font, fixed-4x6, it is 40 x 6 pixels, and the "
         "area holds 32 x 32"},
        {"a word too long is not broken",
         {"MÜLLERSSON"},
         wrapping(options(nullptr, Rotation::Auto, Alignment::Center, {0, 96, 32, 32})),
         Error::Kind::DoesNotFit,
         "the text does not fit: in the smallest font, fixed-4x6, it is 40 x 6 pixels, and the "
         "area holds 32 x 32"},
        {"too many lines once wrapped",
         {"ZOË MÜLLER ZOË MÜLLER ZOË MÜLLER"},
         wrapping(options(nullptr, Rotation::Auto, Alignment::Center, {0, 96, 32, 32})),
         Error::Kind::DoesNotFit,
         "the text does not fit: in the smallest font, fixed-4x6, even wrapped, it is 24 x 41 "
         "pixels, and the area holds 32 x 32"},
        {"a named font wrapped",
         {"ZOË MÜLLER"},
         wrapping(options(font("spleen-8x16"), Rotation::None, Alignment::Center, {0, 96, 32, 32})),
         Error::Kind::DoesNotFit,
         "the text does not fit: in spleen-8x16, even wrapped, it is 48 x 32 pixels, and the area "
         "holds 32 x 32"},
    };
    for (const Row &row : rows) {
        const std::string what = row.what;
        CAPTURE(what);
        const Error error = errorOf(row.lines, row.options);
        CHECK(error.kind == row.kind);
        CHECK(textwording::message(error) == row.message);
    }
}
