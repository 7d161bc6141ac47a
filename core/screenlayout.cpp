#include "screenlayout.h"

#include "bootscreenformat.h"

namespace screenlayout {

using bootscreen::DisplayColumns;
using bootscreen::DisplayRows;
using geometry::Rect;

namespace {

// The band a line or two of text takes: a quarter of the screen, 32 rows.
constexpr int TextRows = DisplayRows / 4;

std::vector<Layout> rows()
{
    const Rect whole{0, 0, DisplayColumns, DisplayRows};
    const int pictureRows = DisplayRows - TextRows;
    return {
        {"picture-above-text", "Picture above text",
         "The picture in the top " + std::to_string(pictureRows) + " rows, the text in the " +
             std::to_string(TextRows) + " below",
         true, true, Rect{0, 0, DisplayColumns, pictureRows},
         Rect{0, pictureRows, DisplayColumns, TextRows}},
        {"text-above-picture", "Text above picture",
         "The text in the top " + std::to_string(TextRows) + " rows, the picture below", true, true,
         Rect{0, TextRows, DisplayColumns, pictureRows}, Rect{0, 0, DisplayColumns, TextRows}},
        {"picture", "Picture only", "The picture on the whole screen; the text is not shown", true,
         false, whole, std::nullopt},
        {"text", "Text only", "The text on the whole screen; the picture is not shown", false, true,
         std::nullopt, whole},
        {"custom", "Custom", "Set the picture's and the text's areas yourself, in display pixels",
         true, true, std::nullopt, std::nullopt},
    };
}

} // namespace

const std::vector<Layout> &layouts()
{
    static const std::vector<Layout> table = rows();
    return table;
}

const Layout *find(const std::string &value)
{
    for (const Layout &layout : layouts()) {
        if (layout.value == value)
            return &layout;
    }
    return nullptr;
}

const Layout &automatic(bool hasPicture, bool hasText)
{
    const char *value = hasPicture && hasText ? "picture-above-text" : hasText ? "text" : "picture";
    return *find(value);
}

} // namespace screenlayout
