// The .tbs format in the core: the writer's exact bytes, the reader's lenient rules, the byte
// cap that callers rely on, and the names that mark a boot screen file.

#include "bootscreenformat.h"
#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "displaypicture.h"
#include "screenfilename.h"

#include <doctest/doctest.h>

#include <string>

using namespace bootscreen;

TEST_CASE("the writer spells each entry in decimal and ends every line with CR LF")
{
    ScreenBuffer screen{};
    screen[0] = 255;
    screen[1] = 7;
    screen[511] = 128;
    const std::string bytes = formatScreen(screen);
    CHECK(bytes.substr(0, 11) == "255\r\n7\r\n0\r\n");
    CHECK(bytes.size() == 5 + 3 + 509 * 3 + 5); // "255\r\n", "7\r\n", 509 x "0\r\n", "128\r\n"
    CHECK(bytes.substr(bytes.size() - 7) == "\r\n128\r\n");
}

TEST_CASE("a lit pixel lands on its entry and bit, and comes back")
{
    struct Row
    {
        int column, row, entry, value;
    };
    const Row rows[] = {
        {31, 0, 0, 1}, {24, 0, 0, 128}, {0, 0, 384, 128}, {0, 127, 511, 128}, {23, 5, 133, 1}};
    for (const Row &r : rows) {
        CAPTURE(r.column);
        CAPTURE(r.row);
        DisplayPicture picture;
        picture.setLit(r.column, r.row, true);
        const ScreenBuffer screen = packPicture(picture);
        CHECK(screen[size_t(r.entry)] == r.value);
        CHECK(unpackPicture(screen) == picture);
    }
}

TEST_CASE("the reader takes lines of 1 to 3 bytes ending in LF and leaves the rest alone")
{
    struct Row
    {
        const char *name;
        std::string bytes;
        int takenLines;
        std::int32_t entry0;
    };
    const Row rows[] = {
        {"CR LF", "42\r\n", 1, 42},
        {"LF alone", "42\n", 1, 42},
        {"no line end: not taken", "42", 0, -1},
        {"four bytes: not taken", "1000\n", 0, -1},
        {"CR counts when no LF follows it directly", "4\r2\n", 1, 0},
        {"leading blank and sign", " -7\n", 1, -7},
        {"not a number reads as 0", "ab\n", 1, 0},
        {"empty line: not taken", "\n", 0, -1},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        ScreenBuffer screen{};
        screen[0] = -1;
        const ReadSummary summary = readScreen(row.bytes, screen);
        CHECK(summary.takenLines == row.takenLines);
        CHECK(summary.hasData() == (row.takenLines > 0));
        CHECK(screen[0] == row.entry0);
    }
}

TEST_CASE("only the first ReadByteCap bytes are read")
{
    std::string bytes(size_t(ReadByteCap) - 3, 'x');
    bytes += "\n7\n";
    ScreenBuffer screen{};
    ReadSummary summary = readScreen(bytes, screen);
    CHECK(summary.lines == 2);
    CHECK(summary.takenLines == 1);
    CHECK(screen[1] == 7);
    CHECK(summary.reachedByteCap);

    bytes += "9\n"; // past the cap: never read
    summary = readScreen(bytes, screen);
    CHECK(summary.lines == 2);

    ScreenBuffer small{};
    CHECK_FALSE(readScreen("1\n", small).reachedByteCap);
}

TEST_CASE("bytes after the 512th line are noticed, not read")
{
    ScreenBuffer screen{};
    const std::string exact = formatScreen(screen);
    CHECK_FALSE(readScreen(exact, screen).textAfterLastEntry);
    CHECK(readScreen(exact + "5\r\n", screen).textAfterLastEntry);
    CHECK(readScreen(exact + "5\r\n", screen).lines == EntryCount);
}

TEST_CASE("a name ending in .tbs, in any case, names a boot screen file")
{
    struct Row
    {
        const char *name;
        bool isScreen;
    };
    const Row rows[] = {
        {"logo.tbs", true},      {"LOGO.TBS", true},
        {"logo.tBs", true},      {"/home/anna/screens/logo.tbs", true},
        {".tbs", true},          {"caf\xc3\xa9.tbs", true},
        {"tbs", false},          {"", false},
        {"logo.tbs.png", false}, {"logo.tbsx", false},
        {"logo.tb", false},      {"logo_tbs", false},
        {"logo.tbs ", false},    {"screens.tbs/logo", false},
        {"screens.tbs/", false},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        CHECK(isScreenFileName(row.name) == row.isScreen);
    }
}
