// A screen as a link: the fragment's exact characters, the round trip, what is refused, and
// which command-line arguments are links. tests/data/links holds the golden links that tbs and
// the studio are held to.

#include "screenlink.h"

#include <doctest/doctest.h>

#include <random>
#include <string>

using bootscreen::DisplayColumns;
using bootscreen::DisplayPicture;
using bootscreen::DisplayRows;

namespace {

DisplayPicture filled(bool lit)
{
    DisplayPicture picture;
    for (int row = 0; row < DisplayRows; ++row)
        for (int column = 0; column < DisplayColumns; ++column)
            picture.setLit(column, row, lit);
    return picture;
}

DisplayPicture randomPicture(unsigned seed)
{
    std::mt19937 random(seed);
    DisplayPicture picture;
    for (int row = 0; row < DisplayRows; ++row)
        for (int column = 0; column < DisplayColumns; ++column)
            picture.setLit(column, row, random() & 1u);
    return picture;
}

const std::string Key = "#screen=";
// The fragment of an all-dark screen, and the characters of the all-lit one: 170 groups of
// three 0xff bytes, then two 0xff bytes in three characters with two zero bits.
const std::string Dark = Key + std::string(683, 'A');
const std::string Lit = Key + std::string(682, '_') + "8";

} // namespace

TEST_CASE("a screen's link holds its 512 bytes in base64url and reads back")
{
    struct Row
    {
        const char *what;
        DisplayPicture picture;
        const char *base;
        std::string expected; // empty: only the round trip and the length are known
    };
    const unsigned seed = 20261208;
    CAPTURE(seed);
    DisplayPicture corner;
    corner.setLit(31, 0, true); // bit 0 of entry 0: the first character is 'A', the second 'Q'
    const Row rows[] = {
        {"all dark, no base", filled(false), "", Dark},
        {"all lit", filled(true), "https://tarrow.example/studio/",
         "https://tarrow.example/studio/" + Lit},
        {"the base's own fragment is replaced", filled(false), "https://h/p?q=1#screen=old",
         "https://h/p?q=1" + Dark},
        {"one pixel", corner, "", Key + "AQ" + std::string(681, 'A')},
        {"random", randomPicture(seed), "file:///studio/index.html", ""},
        {"random, another", randomPicture(seed + 1), "", ""},
    };
    for (const Row &row : rows) {
        CAPTURE(row.what);
        const std::optional<std::string> link = screenlink::screenLink(row.picture, row.base);
        REQUIRE(link);
        if (!row.expected.empty())
            CHECK(*link == row.expected);
        CHECK(link->size() == screenlink::baseOf(row.base).size() + 691);
        const std::optional<DisplayPicture> back = screenlink::screenFromLink(*link);
        REQUIRE(back);
        CHECK(*back == row.picture);
    }
}

TEST_CASE("a link that is not exactly a screen's is refused")
{
    const std::string fragment = Dark.substr(Key.size());
    struct Row
    {
        const char *what;
        std::string link;
    };
    const Row rows[] = {
        {"no #", "https://tarrow.example/studio/"},
        {"nothing after #", "https://tarrow.example/studio/#"},
        {"the key alone", Key},
        {"one character short", Key + fragment.substr(1)},
        {"one character too many", Key + fragment + "A"},
        {"padded as plain base64 would be", Key + fragment + "="},
        {"another key", "#image=" + fragment},
        {"the key in capitals", "#SCREEN=" + fragment},
        {"plain base64's +", Key + "+" + fragment.substr(1)},
        {"plain base64's /", Key + fragment.substr(1) + "/"},
        {"a space", Key + " " + fragment.substr(1)},
        {"a second #", Key + "#" + fragment.substr(1)},
        {"a byte beyond ASCII", Key + "\xc3\xa9" + fragment.substr(2)},
        {"stray bits in the last character", Key + fragment.substr(1) + "B"},
        {"the stray bits' other value", Key + fragment.substr(1) + "C"},
    };
    for (const Row &row : rows) {
        CAPTURE(row.what);
        CHECK_FALSE(screenlink::screenFromLink(row.link));
    }
    // Only the fragment counts: before the # anything goes, even what looks like a key.
    CHECK(screenlink::screenFromLink("not a url at all ?screen=x" + Dark) == filled(false));
}

TEST_CASE("a link stays within 1000 characters: a longer base is refused")
{
    const std::string longest = "https://" + std::string(screenlink::MaxBaseLength - 8, 'a');
    const std::optional<std::string> link = screenlink::screenLink({}, longest);
    REQUIRE(link);
    CHECK(link->size() == 1000);
    CHECK_FALSE(screenlink::screenLink({}, longest + "b"));
    CHECK_FALSE(screenlink::baseFits(longest + "b"));
    // Its own fragment does not count: it is replaced.
    CHECK(screenlink::screenLink({}, longest + "#" + std::string(500, 'x')) == link);
}

TEST_CASE("an argument is a link when it starts with the fragment or a URL scheme and has a #")
{
    struct Row
    {
        const char *argument;
        bool link;
    };
    const Row rows[] = {
        {"#screen=AAAA", true},
        {"https://tarrow.example/studio/#screen=AAAA", true},
        {"http://127.0.0.1:8080/#x", true},
        {"file:///home/anna/studio/index.html#screen=", true},
        {"web+tarrow://x#", true},
        {"https://tarrow.example/studio/", false}, // no #: a file name, however odd
        {"logo#2.tbs", false},
        {"/tmp/#screen=AAAA", false},
        {"#image=AAAA", false},
        {"2https://x/#screen=", false},
        {"https:/x#screen=", false},
        {"c:\\boot#1.tbs", false},
        {"", false},
    };
    for (const Row &row : rows) {
        CAPTURE(row.argument);
        CHECK(screenlink::looksLikeLink(row.argument) == row.link);
    }
}
