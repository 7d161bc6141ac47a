#pragma once

#include "geometry.h"
#include "optiontable.h"
#include "pictureconversion.h"
#include "textlayout.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The values given for the options of the table, read into what the core's rules take. Every
// front end reads them here, so that a value means the same and is refused with the same words
// everywhere; a refusal is the problem as one sentence, e.g. "--gamma takes a number from 0.2 to
// 5, not '9'.".
namespace optionvalues {

// An option as given: its name without dashes and its value (empty for a flag). Where an option
// is given twice, the last one counts.
struct Given
{
    std::string name;
    std::string value;
};
using GivenOptions = std::vector<Given>;

// The value given last for the option; nothing when it was not given.
std::optional<std::string> valueOf(const GivenOptions &given, std::string_view name);

// The value given, else the option's default.
std::string valueOrDefault(const GivenOptions &given, const optiontable::Option &option);

// A Whole option's value; the problem when it is none. Surrounding blanks are allowed, as in
// most command-line tools.
std::variant<int, std::string> wholeNumber(const optiontable::Option &option,
                                           std::string_view value);

// X,Y,W,H: a rectangle of at least one pixel that lies on the display; nothing otherwise.
std::optional<geometry::Rect> area(std::string_view text);

// X,Y,W,H: a rectangle of at least one pixel in a picture's pixels, each number of at most nine
// digits; nothing otherwise. Whether it lies on a picture is known once the picture is.
std::optional<geometry::Rect> rectangle(std::string_view text);

// A rectangle as an area or a crop is written: X,Y,W,H.
std::string rectangleText(const geometry::Rect &rect);

// Why the options' crop does not fit a picture of `pictureSize` (its full size, upright);
// nothing when it does or when there is none.
std::optional<std::string> cropProblem(const pictureconversion::Options &options,
                                       const geometry::Size &pictureSize);

// Whether a value is one the option takes: nothing when it is, the problem when not. Path,
// Format and Address values are the front end's to judge.
std::optional<std::string> problemWith(const optiontable::Option &option, std::string_view value);

// The conversion options of `convert`, `compare`, `show` and `link` (area included where the
// command takes one).
std::variant<pictureconversion::Options, std::string>
conversionOptions(const GivenOptions &given, optiontable::Command command = optiontable::Convert);

// The options of `text` (area included).
std::variant<textlayout::Options, std::string> textOptions(const GivenOptions &given);

// Whether the text is to be set dark on a lit area.
bool textInverted(const GivenOptions &given);

// The dither method's value as typed: "floyd-steinberg".
std::string ditherValue(dithering::Method method);

// The options that give a conversion's picture again with the other options unchanged:
// --dither none, --threshold 140.
GivenOptions reproducingOptions(const pictureconversion::Conversion &conversion);

// "--dither none --threshold 140"-like words for options: "--name value", "--flag".
std::string commandWords(const Given &option);

} // namespace optionvalues
