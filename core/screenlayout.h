#pragma once

#include "geometry.h"

#include <optional>
#include <string>
#include <vector>

// How a picture and lines of text share the screen: the picture above a band of text, the text
// above the picture, either one alone on the whole screen, or areas the owner sets.
namespace screenlayout {

struct Layout
{
    std::string value; // the word a page stores and offers
    std::string label; // the words people see for it
    std::string hint;  // one line on what it does
    bool showsPicture = true;
    bool showsText = true;
    // The areas it gives; nothing where the areas are the owner's own (custom).
    std::optional<geometry::Rect> pictureArea;
    std::optional<geometry::Rect> textArea;
};

const std::vector<Layout> &layouts();

// The layout of that word, or nullptr.
const Layout *find(const std::string &value);

// The layout a screen gets until the owner chooses one: with both a picture and text, the
// picture above the text, so that typing a name never wipes the picture; otherwise the one
// there is, on the whole screen.
const Layout &automatic(bool hasPicture, bool hasText);

} // namespace screenlayout
