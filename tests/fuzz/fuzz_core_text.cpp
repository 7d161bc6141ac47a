// Sets arbitrary bytes as text: the first four bytes pick the font, direction, alignment and
// area, the rest are lines split at LF. Whatever comes, the result is a picture lit only
// inside the area or an error with a message, and the UTF-8 that decodes encodes back to the
// same bytes. A breach aborts, so the fuzzer reports logic faults as well as memory errors.

#include "displayarea.h"
#include "textlayout.h"
#include "textwording.h"
#include "utf8.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void checkUtf8RoundTrip(const std::string &bytes)
{
    const utf8::Decoded decoded = utf8::decode(bytes);
    std::string encoded;
    for (const char32_t c : decoded.text)
        encoded += utf8::encode(c);
    const std::size_t valid = decoded.invalidAt.value_or(bytes.size());
    if (encoded != bytes.substr(0, valid))
        fail("the decoded characters do not encode back to the bytes they came from");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 4)
        return 0;
    const std::vector<const pixelfont::Font *> &fonts = pixelfont::bundledFonts();
    textlayout::Options options;
    const std::size_t font = data[0] % (fonts.size() + 1);
    options.font = font == 0 ? nullptr : fonts[font - 1];
    options.rotation = static_cast<textlayout::Rotation>(data[1] % 4);
    options.alignment = static_cast<textlayout::Alignment>(data[2] % 3);
    options.wrap = data[2] / 3 % 2 == 1;
    // Areas from the whole display down to a sliver, some of them past its edge.
    const int width = 1 + data[3] % 33;
    const int height = 1 + (data[3] * 7) % 129;
    options.area = {(data[3] >> 2) % 8, data[3] % 16, width, height};

    std::vector<std::string> lines{std::string()};
    for (std::size_t i = 4; i < size; ++i) {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back() += static_cast<char>(data[i]);
    }
    for (const std::string &line : lines)
        checkUtf8RoundTrip(line);

    const auto result = textlayout::setText(lines, options);
    if (const textlayout::Error *error = std::get_if<textlayout::Error>(&result)) {
        if (textwording::message(*error).empty())
            fail("an error without a message");
        if (error->kind == textlayout::Error::Kind::AreaOutside &&
            displayarea::isOnDisplay(options.area))
            fail("an area on the display is refused");
        return 0;
    }
    if (!displayarea::isOnDisplay(options.area))
        fail("text was set in an area off the display");
    const bootscreen::DisplayPicture &picture = std::get<bootscreen::DisplayPicture>(result);
    const geometry::Rect &area = options.area;
    for (int row = 0; row < bootscreen::DisplayRows; ++row) {
        for (int column = 0; column < bootscreen::DisplayColumns; ++column) {
            const bool inside = column >= area.left && column <= area.right() && row >= area.top &&
                                row <= area.bottom();
            if (!inside && picture.isLit(column, row))
                fail("a pixel outside the area is lit");
        }
    }
    return 0;
}
