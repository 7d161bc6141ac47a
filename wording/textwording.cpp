#include "textwording.h"

#include "utf8.h"

#include <cstdio>

namespace textwording {

namespace {

std::string codePointName(char32_t codePoint)
{
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
    return name;
}

bool printsNothingVisible(char32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0) || codePoint == 0x2028 ||
           codePoint == 0x2029;
}

std::string size(const geometry::Size &size)
{
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

std::string lineNumber(const textlayout::Error &error)
{
    return "line " + std::to_string(error.line + 1);
}

} // namespace

std::string character(char32_t codePoint)
{
    if (printsNothingVisible(codePoint))
        return codePointName(codePoint);
    return "'" + utf8::encode(codePoint) + "' (" + codePointName(codePoint) + ")";
}

std::string message(const textlayout::Error &error)
{
    using Kind = textlayout::Error::Kind;
    switch (error.kind) {
    case Kind::NoText:
        return "no text: give at least one line";
    case Kind::InvalidUtf8:
        return lineNumber(error) + " is not valid UTF-8 (at byte " +
               std::to_string(error.byteOffset + 1) + ")";
    case Kind::NoBundledGlyph:
        // Text that reached us through a decoder that replaced bytes it could not read.
        if (error.codePoint == 0xFFFD)
            return "no bundled font has " + character(error.codePoint) +
                   ", which stands for bytes that are not valid UTF-8";
        return "no bundled font has " + character(error.codePoint);
    case Kind::FontLacksGlyph:
        return std::string(error.font->name) + " has no " + character(error.codePoint);
    case Kind::AreaOutside:
        return "the area is not on the 32 x 128 display";
    case Kind::DoesNotFit: {
        const std::string font = error.smallestFont
                                     ? "the smallest font, " + std::string(error.font->name)
                                     : std::string(error.font->name);
        const std::string wrapped = error.wrapped        ? ", even wrapped,"
                                    : error.smallestFont ? ","
                                                         : "";
        const std::string turned =
            error.quarterTurns == 0
                ? ""
                : " for text turned by " + std::to_string(error.quarterTurns * 90) + " degrees";
        return "the text does not fit: in " + font + wrapped + " it is " + size(error.textSize) +
               " pixels, and the area holds " + size(error.room) + turned;
    }
    }
    return {};
}

} // namespace textwording
