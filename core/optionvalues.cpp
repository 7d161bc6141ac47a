#include "optionvalues.h"

#include "decimaltext.h"
#include "displayarea.h"

#include <cctype>
#include <climits>
#include <cmath>

namespace optionvalues {

namespace {

using optiontable::Command;
using optiontable::Kind;
using optiontable::Option;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::optional<long long> wholeIn(std::string_view text)
{
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (!isDigit(c) || value > INT_MAX)
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

const optiontable::Choice *choiceOf(const Option &option, std::string_view value)
{
    for (const optiontable::Choice &choice : option.choices) {
        if (choice.value == value)
            return &choice;
    }
    return nullptr;
}

std::string quoted(std::string_view value)
{
    return ", not '" + std::string(value) + "'.";
}

const Option &row(Command command, std::string_view name)
{
    return *optiontable::find(command, name);
}

// Reads the options of `command` in the table's order; the first problem ends it.
class Reader
{
public:
    Reader(const GivenOptions &given, Command command) : given(given), command(command) {}

    int choice(std::string_view name)
    {
        const Option &option = row(command, name);
        const std::string value = valueOrDefault(given, option);
        if (problem.empty()) {
            if (const optiontable::Choice *found = choiceOf(option, value))
                return found->code;
            problem = *problemWith(option, value);
        }
        return 0;
    }

    // Nothing for the option's automatic word.
    std::optional<int> whole(std::string_view name)
    {
        const Option &option = row(command, name);
        const std::string value = valueOrDefault(given, option);
        if (!problem.empty() || (!option.automatic.empty() && value == option.automatic))
            return std::nullopt;
        const std::variant<int, std::string> read = wholeNumber(option, value);
        if (const std::string *refused = std::get_if<std::string>(&read)) {
            problem = *refused;
            return std::nullopt;
        }
        return std::get<int>(read);
    }

    double number(std::string_view name)
    {
        const Option &option = row(command, name);
        const std::string value = valueOrDefault(given, option);
        if (!problem.empty())
            return 0;
        if (const std::optional<std::string> refused = problemWith(option, value)) {
            problem = *refused;
            return 0;
        }
        return *decimaltext::read(value);
    }

    geometry::Rect area()
    {
        const Option &option = row(command, "area");
        const std::string value = valueOrDefault(given, option);
        if (const std::optional<geometry::Rect> read = optionvalues::area(value))
            return *read;
        if (problem.empty())
            problem = *problemWith(option, value);
        return displayarea::WholeDisplay;
    }

    // Nothing when it was not given.
    std::optional<geometry::Rect> rectangle(std::string_view name)
    {
        const Option &option = row(command, name);
        const std::optional<std::string> value = valueOf(given, option.name);
        if (!value)
            return std::nullopt;
        if (const std::optional<geometry::Rect> read = optionvalues::rectangle(*value))
            return read;
        if (problem.empty())
            problem = *problemWith(option, *value);
        return std::nullopt;
    }

    bool flag(std::string_view name) const { return valueOf(given, name).has_value(); }

    std::string problem;

private:
    const GivenOptions &given;
    Command command;
};

} // namespace

std::optional<std::string> valueOf(const GivenOptions &given, std::string_view name)
{
    for (auto it = given.rbegin(); it != given.rend(); ++it) {
        if (it->name == name)
            return it->value;
    }
    return std::nullopt;
}

std::string valueOrDefault(const GivenOptions &given, const Option &option)
{
    return valueOf(given, option.name).value_or(option.defaultValue);
}

std::variant<int, std::string> wholeNumber(const Option &option, std::string_view value)
{
    const std::optional<long long> read = wholeIn(value);
    if (read && *read >= option.minimum && *read <= option.maximum)
        return int(*read);
    return "--" + option.name + " takes " +
           (option.automatic.empty() ? "" : option.automatic + " or ") + "a whole number from " +
           decimaltext::spelled(option.minimum) + " to " + decimaltext::spelled(option.maximum) +
           quoted(value);
}

namespace {

// X,Y,W,H: four numbers of one to `digits` digits, nothing else; a width and height of at least
// one. The digits bound the numbers, so that a rectangle's far edge is still an int.
std::optional<geometry::Rect> rectangleIn(std::string_view text, size_t digits)
{
    int numbers[4] = {};
    size_t i = 0;
    for (int n = 0; n < 4; ++n) {
        if (n > 0) {
            if (i >= text.size() || text[i] != ',')
                return std::nullopt;
            ++i;
        }
        const size_t start = i;
        while (i < text.size() && isDigit(text[i]) && i - start < digits)
            numbers[n] = numbers[n] * 10 + (text[i++] - '0');
        if (i == start)
            return std::nullopt;
    }
    if (i != text.size() || numbers[2] == 0 || numbers[3] == 0)
        return std::nullopt;
    return geometry::Rect{numbers[0], numbers[1], numbers[2], numbers[3]};
}

} // namespace

std::string rectangleText(const geometry::Rect &rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.width) + "," + std::to_string(rect.height);
}

std::optional<geometry::Rect> area(std::string_view text)
{
    // Three digits are more than the display has.
    const std::optional<geometry::Rect> read = rectangleIn(text, 3);
    if (!read || !displayarea::isOnDisplay(*read))
        return std::nullopt;
    return read;
}

std::optional<geometry::Rect> rectangle(std::string_view text)
{
    return rectangleIn(text, 9);
}

std::optional<std::string> cropProblem(const pictureconversion::Options &options,
                                       const geometry::Size &pictureSize)
{
    if (!options.crop)
        return std::nullopt;
    const geometry::Rect &crop = *options.crop;
    if (crop.left + crop.width <= pictureSize.width && crop.top + crop.height <= pictureSize.height)
        return std::nullopt;
    return "--" + row(optiontable::Convert, "crop").name + " " + rectangleText(crop) +
           " reaches outside the picture, which is " + std::to_string(pictureSize.width) + " x " +
           std::to_string(pictureSize.height) + " pixels";
}

std::optional<std::string> problemWith(const Option &option, std::string_view value)
{
    switch (option.kind) {
    case Kind::Choice:
        if (choiceOf(option, value))
            return std::nullopt;
        return "--" + option.name + " takes " + optiontable::choiceValues(option) + quoted(value);
    case Kind::Whole: {
        if (!option.automatic.empty() && value == option.automatic)
            return std::nullopt;
        const std::variant<int, std::string> read = wholeNumber(option, value);
        if (const std::string *refused = std::get_if<std::string>(&read))
            return *refused;
        return std::nullopt;
    }
    case Kind::Number: {
        const std::optional<double> read = decimaltext::read(value);
        if (read && *read >= option.minimum && *read <= option.maximum)
            return std::nullopt;
        return "--" + option.name + " takes a number from " + decimaltext::spelled(option.minimum) +
               " to " + decimaltext::spelled(option.maximum) + quoted(value);
    }
    case Kind::Area:
        if (area(value))
            return std::nullopt;
        return "--" + option.name + " takes " + option.valueName +
               ", a rectangle of at least one pixel inside the " +
               std::to_string(bootscreen::DisplayColumns) + " x " +
               std::to_string(bootscreen::DisplayRows) + " display" + quoted(value);
    case Kind::Rectangle:
        if (rectangle(value))
            return std::nullopt;
        return "--" + option.name + " takes " + option.valueName +
               ", a rectangle of at least one pixel in the picture's own pixels" + quoted(value);
    case Kind::Flag:
    case Kind::Path:
    case Kind::Format:
    case Kind::Address:
        break;
    }
    return std::nullopt;
}

std::variant<pictureconversion::Options, std::string> conversionOptions(const GivenOptions &given,
                                                                        Command command)
{
    Reader read(given, command);
    pictureconversion::Options options;
    options.crop = read.rectangle("crop");
    options.fit = static_cast<picturefit::Fit>(read.choice("fit"));
    options.rotation = static_cast<picturefit::Rotation>(read.choice("rotate"));
    const int dither = read.choice("dither");
    if (dither != optiontable::Automatic)
        options.dither = static_cast<dithering::Method>(dither);
    options.threshold = read.whole("threshold");
    options.tone.stretchLevels = read.choice("levels") == 1;
    options.tone.brightness = read.whole("brightness").value_or(0);
    options.tone.contrast = read.whole("contrast").value_or(0);
    options.tone.gamma = read.number("gamma");
    options.background = static_cast<pictureconversion::Background>(read.choice("background"));
    options.invert = read.flag("invert");
    if (optiontable::find(command, "area"))
        options.area = read.area();
    if (!read.problem.empty())
        return read.problem;
    return options;
}

std::variant<textlayout::Options, std::string> textOptions(const GivenOptions &given)
{
    Reader read(given, optiontable::Text);
    textlayout::Options options;
    options.rotation = static_cast<textlayout::Rotation>(read.choice("rotate"));
    options.alignment = static_cast<textlayout::Alignment>(read.choice("align"));
    const int font = read.choice("font");
    if (font != optiontable::Automatic && read.problem.empty())
        options.font = pixelfont::bundledFonts()[size_t(font)];
    options.area = read.area();
    options.wrap = read.flag("wrap");
    if (!read.problem.empty())
        return read.problem;
    return options;
}

bool textInverted(const GivenOptions &given)
{
    return valueOf(given, "invert").has_value();
}

std::string ditherValue(dithering::Method method)
{
    for (const optiontable::Choice &choice : row(optiontable::Convert, "dither").choices) {
        if (choice.code == int(method))
            return choice.value;
    }
    return {};
}

GivenOptions reproducingOptions(const pictureconversion::Conversion &conversion)
{
    return {{"dither", ditherValue(conversion.dither)},
            {"threshold", std::to_string(conversion.threshold)}};
}

std::string commandWords(const Given &option)
{
    return "--" + option.name + (option.value.empty() ? "" : " " + option.value);
}

} // namespace optionvalues
