// UTF-8 as the text arrives from a command line, a file or a browser: the valid forms decode,
// every malformed one stops at its first bad byte.

#include "utf8.h"

#include <doctest/doctest.h>

#include <string>
#include <vector>

TEST_CASE("UTF-8 decodes up to the first byte that is not valid")
{
    struct Row
    {
        const char *what;
        std::string bytes;
        std::u32string decoded;
        std::optional<std::size_t> invalidAt;
    };
    const Row rows[] = {
        {"ASCII", "ANNA", U"ANNA", {}},
        {"two-byte Latin-1", "Zo\xC3\xAB M\xC3\xBCller \xC3\x98yvind", U"Zoë Müller Øyvind", {}},
        {"three bytes", "\xE2\x82\xAC", U"\u20AC", {}},
        {"four bytes", "\xF0\x9F\x98\x80", U"\U0001F600", {}},
        {"the highest code point", "\xF4\x8F\xBF\xBF", U"\U0010FFFF", {}},
        {"empty", "", U"", {}},
        {"a Latin-1 byte, not UTF-8", "M\xFCller", U"M", 1},
        {"a stray continuation byte", "a\x80", U"a", 1},
        {"a lead byte without its continuation", "ab\xC3", U"ab", 2},
        {"a sequence cut short by ASCII", "\xE2\x82z", U"", 0},
        {"an overlong NUL", "\xC0\x80", U"", 0},
        {"an overlong slash in three bytes", "\xE0\x80\xAF", U"", 0},
        {"an overlong four-byte form", "\xF0\x8F\xBF\xBF", U"", 0},
        {"a surrogate", "x\xED\xA0\x80", U"x", 1},
        {"above U+10FFFF", "\xF4\x90\x80\x80", U"", 0},
        {"a five-byte lead", "\xF8\x88\x80\x80\x80", U"", 0},
        {"0xFF", "ok\xFF", U"ok", 2},
    };
    for (const Row &row : rows) {
        const std::string what = row.what;
        CAPTURE(what);
        const utf8::Decoded decoded = utf8::decode(row.bytes);
        CHECK(decoded.text == row.decoded);
        CHECK(decoded.invalidAt == row.invalidAt);
    }
}

TEST_CASE("every code point encodes to UTF-8 that decodes back to it alone")
{
    std::vector<char32_t> codePoints{0x7F,   0x80,   0x7FF,   0x800,   0xD7FF,
                                     0xE000, 0xFFFF, 0x10000, 0x10FFFF};
    for (char32_t c = 0; c < 0x10FFFF; c += (c < 0x1000 ? 1 : 97)) {
        if (c < 0xD800 || c > 0xDFFF)
            codePoints.push_back(c);
    }
    for (const char32_t c : codePoints) {
        const unsigned codePoint = c;
        CAPTURE(codePoint);
        const std::string bytes = utf8::encode(c);
        CHECK(bytes.size() == (c < 0x80 ? 1u : c < 0x800 ? 2u : c < 0x10000 ? 3u : 4u));
        const utf8::Decoded decoded = utf8::decode(bytes);
        CHECK_FALSE(decoded.invalidAt.has_value());
        CHECK(decoded.text == std::u32string(1, c));
    }
}
