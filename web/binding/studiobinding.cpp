#include "studiobinding.h"

#include "bootscreenreader.h"
#include "bootscreenwriter.h"
#include "cellline.h"
#include "checkwording.h"
#include "comparesheet.h"
#include "decimaltext.h"
#include "displayarea.h"
#include "editorbitmap.h"
#include "editorbitmapfile.h"
#include "filewording.h"
#include "imagelimit.h"
#include "optiontable.h"
#include "optionvalues.h"
#include "pictureconversion.h"
#include "pictureframing.h"
#include "screencheck.h"
#include "screenfilename.h"
#include "screenimage.h"
#include "screenlayout.h"
#include "screenlink.h"
#include "textlayout.h"
#include "textwording.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using bootscreen::DisplayColumns;
using bootscreen::DisplayPicture;
using bootscreen::DisplayRows;
using optiontable::Command;
using optiontable::Kind;
using optiontable::Option;
using optionvalues::GivenOptions;
using pictureconversion::Options;

constexpr int LevelCount = DisplayColumns * DisplayRows;
static_assert(StudioLevelsLength == 3 * LevelCount + 7,
              "the levels, the two colour differences, then six numbers");

// The last text handed out, kept until the next call that hands one out; the last refusal's
// reason; the options the last conversion chose.
std::string written;
std::string message;
std::string chosen;

// The commands the studio offers, by the word tbs knows them by.
struct CommandWord
{
    const char *word;
    Command command;
};
constexpr CommandWord Commands[] = {{"convert", optiontable::Convert}, {"text", optiontable::Text}};

// Whether the studio offers the option: those that shape the screen. Files, formats, the size of
// an image written and what tbs prints are the tool's own.
bool offered(const Option &option)
{
    return !option.toolOnly;
}

const Option *offeredOption(Command command, std::string_view name)
{
    const Option *option = optiontable::find(command, name);
    return option && offered(*option) ? option : nullptr;
}

// The options in option text, each one the command offers; the problem, worded as tbs's parser
// words it, when one is not.
std::variant<GivenOptions, std::string> givenOptions(Command command, std::string_view text)
{
    GivenOptions given;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty())
            continue;
        const size_t space = line.find(' ');
        const std::string name(line.substr(0, space));
        const std::string value(space == std::string_view::npos ? std::string_view()
                                                                : line.substr(space + 1));
        const Option *option = offeredOption(command, name);
        if (!option)
            return "Unknown option '" + name + "'.";
        if (option->kind == Kind::Flag && !value.empty())
            return "Unexpected value after '--" + name + "'.";
        given.push_back({name, value});
    }
    return given;
}

// The options of a command in option text; nothing, with the reason in `message`, when refused.
std::optional<GivenOptions> givenOrRefused(Command command, const char *text)
{
    auto given = givenOptions(command, text ? text : "");
    if (const std::string *problem = std::get_if<std::string>(&given)) {
        message = *problem;
        return std::nullopt;
    }
    return std::get<GivenOptions>(std::move(given));
}

// What the core read from given options; nothing, with its problem in `message`, when refused.
template <typename Value> std::optional<Value> takenOrRefused(std::variant<Value, std::string> read)
{
    if (const std::string *problem = std::get_if<std::string>(&read)) {
        message = *problem;
        return std::nullopt;
    }
    return std::get<Value>(std::move(read));
}

std::optional<Options> conversionOptions(const char *text)
{
    const std::optional<GivenOptions> given = givenOrRefused(optiontable::Convert, text);
    if (!given)
        return std::nullopt;
    return takenOrRefused(optionvalues::conversionOptions(*given));
}

std::string chosenText(const pictureconversion::Conversion &conversion)
{
    std::string text;
    for (const optionvalues::Given &option : optionvalues::reproducingOptions(conversion))
        text += option.name + (option.value.empty() ? "" : " " + option.value) + "\n";
    return text;
}

// JSON written by hand: the module carries no JSON library for one text.
void putString(std::string &out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

// The options of a framing of a picture of `size`; nothing, with the reason in `message`, when
// they are refused or the size is no picture's.
std::optional<Options> framingOptions(const geometry::Size &size, const char *options)
{
    if (!size.isValid()) {
        message = "not a picture's size";
        return std::nullopt;
    }
    return conversionOptions(options);
}

// A layout's area as the studio takes it: the area, "" for the options' own, null when that
// part is not shown.
void putLayoutArea(std::string &out, bool shown, const std::optional<geometry::Rect> &area)
{
    if (!shown)
        out += "null";
    else
        putString(out, area ? optionvalues::rectangleText(*area) : std::string());
}

const char *kindWord(Kind kind)
{
    switch (kind) {
    case Kind::Flag:
        return "flag";
    case Kind::Choice:
        return "choice";
    case Kind::Whole:
        return "whole";
    case Kind::Number:
        return "number";
    case Kind::Area:
        return "area";
    case Kind::Rectangle:
        return "rectangle";
    case Kind::Path:
        return "path";
    case Kind::Format:
        return "format";
    case Kind::Address:
        return "address";
    }
    return "";
}

void putOption(std::string &out, const Option &option)
{
    const auto field = [&out](const char *name) {
        out += out.back() == '{' ? "\"" : ",\"";
        out += name;
        out += "\":";
    };
    out += '{';
    field("name");
    putString(out, option.name);
    field("kind");
    putString(out, kindWord(option.kind));
    field("label");
    putString(out, option.label);
    field("valueName");
    putString(out, option.valueName);
    field("choices");
    out += '[';
    for (const optiontable::Choice &choice : option.choices) {
        out += out.back() == '[' ? "{" : ",{";
        out += "\"value\":";
        putString(out, choice.value);
        out += ",\"label\":";
        putString(out, choice.label);
        out += '}';
    }
    out += ']';
    field("minimum");
    out += decimaltext::spelled(option.minimum);
    field("maximum");
    out += decimaltext::spelled(option.maximum);
    field("step");
    out += decimaltext::spelled(option.step);
    field("automatic");
    putString(out, option.automatic);
    field("default");
    putString(out, option.defaultValue);
    field("unit");
    putString(out, option.unit);
    field("help");
    putString(out, optiontable::helpText(option));
    field("hint");
    putString(out, option.hint);
    field("pageDefault");
    putString(out, option.pageDefault);
    field("placesPicture");
    out += option.placesPicture ? "true" : "false";
    out += '}';
}

std::string vocabulary()
{
    std::string out = "{\"display\":{\"columns\":" + std::to_string(DisplayColumns) +
                      ",\"rows\":" + std::to_string(DisplayRows) + "},\"commands\":{";
    for (const CommandWord &each : Commands) {
        if (out.back() != '{')
            out += ',';
        putString(out, each.word);
        out += ":[";
        for (const Option *option : optiontable::optionsOf(each.command)) {
            if (!offered(*option))
                continue;
            if (out.back() != '[')
                out += ',';
            putOption(out, *option);
        }
        out += ']';
    }
    out += "},\"layouts\":[";
    for (const screenlayout::Layout &layout : screenlayout::layouts()) {
        out += out.back() == '[' ? "{\"value\":" : ",{\"value\":";
        putString(out, layout.value);
        out += ",\"label\":";
        putString(out, layout.label);
        out += ",\"hint\":";
        putString(out, layout.hint);
        out += ",\"ownAreas\":";
        out += layout.pictureArea || layout.textArea ? "false" : "true";
        out += '}';
    }
    // The flag of each command that swaps lit and dark: Invert all swaps them through it in the
    // commands a page shows.
    out += "],\"inverting\":{\"convert\":";
    putString(out, optiontable::find(optiontable::Convert, "invert")->name);
    out += ",\"text\":";
    putString(out, optiontable::find(optiontable::Text, "invert")->name);
    out += "},\"zoom\":{\"minimum\":" + decimaltext::spelled(pictureframing::MinZoom) +
           ",\"maximum\":" + decimaltext::spelled(pictureframing::MaxZoom) + "}";
    out += ",\"readByteCap\":" + std::to_string(bootscreen::ReadByteCap) +
           ",\"levelsLength\":" + std::to_string(StudioLevelsLength) +
           ",\"maxCandidates\":" + std::to_string(StudioMaxCandidates) + ",\"words\":{";
    out += "\"blankResultLit\":";
    putString(out, filewording::blankResult(true, filewording::Naming::Controls));
    out += ",\"blankResultDark\":";
    putString(out, filewording::blankResult(false, filewording::Naming::Controls));
    out += ",\"notABootScreenFile\":";
    putString(out, filewording::notABootScreenFile());
    out += ",\"notAScreenLink\":";
    putString(out, filewording::notAScreenLink());
    out += "}}";
    return out;
}

void putLevels(const pictureconversion::PictureLevels &picture, double *levels)
{
    std::copy(picture.levels.begin(), picture.levels.end(), levels);
    std::copy(picture.blueDifference.begin(), picture.blueDifference.end(), levels + LevelCount);
    std::copy(picture.redDifference.begin(), picture.redDifference.end(), levels + 2 * LevelCount);
    double *rest = levels + 3 * LevelCount;
    rest[0] = picture.covered.left;
    rest[1] = picture.covered.top;
    rest[2] = picture.covered.width;
    rest[3] = picture.covered.height;
    rest[4] = picture.mainToneShare;
    rest[5] = picture.uniform ? 1 : 0;
    rest[6] = picture.textureShare;
}

pictureconversion::PictureLevels levelsFrom(const double *levels)
{
    pictureconversion::PictureLevels picture;
    picture.levels.assign(levels, levels + LevelCount);
    picture.blueDifference.assign(levels + LevelCount, levels + 2 * LevelCount);
    picture.redDifference.assign(levels + 2 * LevelCount, levels + 3 * LevelCount);
    const double *rest = levels + 3 * LevelCount;
    picture.covered = {int(rest[0]), int(rest[1]), int(rest[2]), int(rest[3])};
    picture.mainToneShare = rest[4];
    picture.uniform = rest[5] != 0;
    picture.textureShare = rest[6];
    return picture;
}

DisplayPicture pictureFrom(const std::uint8_t *screen)
{
    DisplayPicture picture;
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column)
            picture.setLit(column, row, screen[row * DisplayColumns + column] != 0);
    }
    return picture;
}

void putPicture(const DisplayPicture &picture, std::uint8_t *screen)
{
    for (int row = 0; row < DisplayRows; ++row) {
        for (int column = 0; column < DisplayColumns; ++column)
            screen[row * DisplayColumns + column] = picture.isLit(column, row) ? 1 : 0;
    }
}

RgbaView viewOf(const std::uint8_t *rgba, int width, int height)
{
    return {rgba, width, height, std::ptrdiff_t(width) * 4};
}

} // namespace

extern "C" {

const char *studio_vocabulary()
{
    written = vocabulary();
    return written.c_str();
}

int studio_option_problem(const char *command, const char *options)
{
    const std::string_view word = command ? command : "";
    for (const CommandWord &each : Commands) {
        if (word != each.word)
            continue;
        const std::optional<GivenOptions> given = givenOrRefused(each.command, options);
        if (!given)
            return 1;
        const bool taken =
            each.command == optiontable::Text
                ? takenOrRefused(optionvalues::textOptions(*given)).has_value()
                : takenOrRefused(optionvalues::conversionOptions(*given)).has_value();
        return taken ? 0 : 1;
    }
    message = "Unknown command '" + std::string(word) + "'.";
    return 1;
}

int studio_picture_levels(const std::uint8_t *rgba, int width, int height, int fullWidth,
                          int fullHeight, const char *options, double *levels)
{
    const auto parsed = conversionOptions(options);
    if (!parsed || !rgba || width <= 0 || height <= 0)
        return 1;
    putLevels(pictureconversion::pictureLevels(viewOf(rgba, width, height), *parsed,
                                               {fullWidth, fullHeight}),
              levels);
    return 0;
}

int studio_convert_levels(const double *levels, const char *options, std::uint8_t *screen,
                          std::int32_t *blank)
{
    const auto parsed = conversionOptions(options);
    if (!parsed)
        return 1;
    const pictureconversion::Conversion conversion =
        pictureconversion::convertLevels(levelsFrom(levels), *parsed);
    putPicture(conversion.picture, screen);
    *blank = conversion.blank ? 1 : 0;
    chosen = chosenText(conversion);
    return 0;
}

int studio_compare(const double *levels, const char *options, std::uint8_t *screens,
                   std::int32_t *blank)
{
    const auto parsed = conversionOptions(options);
    if (!parsed)
        return -1;
    const std::vector<comparesheet::Candidate> candidates =
        comparesheet::candidates(levelsFrom(levels), *parsed);
    const size_t count = std::min<size_t>(candidates.size(), StudioMaxCandidates);
    chosen.clear();
    for (size_t i = 0; i < count; ++i) {
        putPicture(candidates[i].conversion.picture, screens + i * LevelCount);
        blank[i] = candidates[i].conversion.blank ? 1 : 0;
        chosen += (i > 0 ? "\n" : "") + chosenText(candidates[i].conversion);
    }
    return int(count);
}

const char *studio_chosen()
{
    return chosen.c_str();
}

int studio_set_text(const char *text, const char *options, const std::uint8_t *base,
                    std::uint8_t *screen)
{
    const std::optional<GivenOptions> given = givenOrRefused(optiontable::Text, options);
    const std::optional<textlayout::Options> read =
        given ? takenOrRefused(optionvalues::textOptions(*given)) : std::nullopt;
    if (!read)
        return 1;
    const textlayout::Options &layout = *read;
    std::vector<std::string> lines;
    for (std::string_view rest = text ? text : "";;) {
        const size_t end = rest.find('\n');
        lines.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    const auto part = textlayout::setText(lines, layout);
    if (const textlayout::Error *error = std::get_if<textlayout::Error>(&part)) {
        message = textwording::message(*error);
        return 1;
    }
    putPicture(displayarea::composed(pictureFrom(base), std::get<DisplayPicture>(part), layout.area,
                                     optionvalues::textInverted(*given)),
               screen);
    return 0;
}

const char *studio_message()
{
    return message.c_str();
}

int studio_cells_on_line(int fromColumn, int fromRow, int toColumn, int toRow, std::int32_t *cells)
{
    // Pointer positions lie within a screen's width of the display; far beyond, the line would
    // be long for nothing (and its arithmetic could overflow).
    constexpr int Reach = 65536;
    const auto near = [](int value, int size) { return value >= -Reach && value < size + Reach; };
    if (!near(fromColumn, DisplayColumns) || !near(toColumn, DisplayColumns) ||
        !near(fromRow, DisplayRows) || !near(toRow, DisplayRows))
        return 0;
    int count = 0;
    for (const geometry::Point &cell :
         cellline::cellsOnLine({fromColumn, fromRow}, {toColumn, toRow})) {
        if (displayarea::isOnDisplay({cell.x, cell.y, 1, 1}))
            cells[count++] = cell.y * DisplayColumns + cell.x;
    }
    return count;
}

int studio_read_tbs(const char *bytes, int length, std::uint8_t *screen)
{
    bootscreen::ScreenBuffer buffer{};
    const auto summary = bootscreen::readScreen(std::string_view(bytes, size_t(length)), buffer);
    putPicture(bootscreen::unpackPicture(buffer), screen);
    return summary.takenLines;
}

const char *studio_check_tbs(const char *bytes, int length, const char *name)
{
    const screencheck::Check check =
        screencheck::checkScreen(std::string_view(bytes, size_t(length)));
    written.clear();
    for (const screencheck::Finding &finding : check.findings)
        written += checkwording::report(name, finding) + "\n";
    return written.c_str();
}

const char *studio_write_tbs(const std::uint8_t *screen)
{
    written = bootscreen::formatScreen(bootscreen::packPicture(pictureFrom(screen)));
    return written.c_str();
}

int studio_written_length()
{
    return int(written.size());
}

int studio_read_editor_bitmap(const std::uint8_t *rgba, int width, int height, std::uint8_t *screen)
{
    const RgbaView view = viewOf(rgba, width, height);
    if (!rgba || !editorbitmap::isEditorBitmap(view))
        return 0;
    putPicture(editorbitmap::cellsOf(view), screen);
    return 1;
}

const std::uint8_t *studio_write_editor_bitmap(const std::uint8_t *screen)
{
    written = editorbitmapfile::bitmapFile(pictureFrom(screen));
    return reinterpret_cast<const std::uint8_t *>(written.data());
}

int studio_is_tbs_name(const char *name)
{
    return name && bootscreen::isScreenFileName(name) ? 1 : 0;
}

int studio_picture_size_problem(int width, int height)
{
    if (imagelimit::fits(width, height, 32))
        return 0;
    message = filewording::tooLarge(width, height, imagelimit::DefaultMegabytes);
    return 1;
}

const std::uint8_t *studio_screen_image(const std::uint8_t *screen)
{
    const std::vector<std::uint8_t> pixels = screenimage::rgba(pictureFrom(screen));
    written.assign(pixels.begin(), pixels.end());
    return reinterpret_cast<const std::uint8_t *>(written.data());
}

void studio_invert(const std::uint8_t *screen, std::uint8_t *inverted)
{
    putPicture(pictureFrom(screen).inverted(), inverted);
}

const char *studio_screen_link(const std::uint8_t *screen, const char *base)
{
    const std::string_view address = base ? base : "";
    const std::optional<std::string> link = screenlink::screenLink(pictureFrom(screen), address);
    if (!link) {
        message = filewording::linkBaseTooLong(screenlink::baseOf(address).size(),
                                               filewording::Naming::Controls);
        return nullptr;
    }
    written = *link;
    return written.c_str();
}

int studio_link_screen(const char *link, std::uint8_t *screen)
{
    const std::optional<DisplayPicture> picture = screenlink::screenFromLink(link ? link : "");
    if (!picture) {
        message = filewording::notAScreenLink();
        return 1;
    }
    putPicture(*picture, screen);
    return 0;
}

int studio_framed(int fullWidth, int fullHeight, const char *options, double *framing,
                  std::int32_t *placement)
{
    const geometry::Size size{fullWidth, fullHeight};
    const auto parsed = framingOptions(size, options);
    if (!parsed)
        return 1;
    const pictureframing::Framed framed =
        pictureframing::framed(size, *parsed, {framing[0], framing[1], framing[2]});
    framing[0] = framed.framing.zoom;
    framing[1] = framed.framing.centreX;
    framing[2] = framed.framing.centreY;
    const geometry::Rect part = framed.crop.value_or(geometry::Rect{0, 0, fullWidth, fullHeight});
    const geometry::Rect &area = parsed->area;
    const std::int32_t numbers[] = {part.left,
                                    part.top,
                                    part.width,
                                    part.height,
                                    framed.placed.left,
                                    framed.placed.top,
                                    framed.placed.width,
                                    framed.placed.height,
                                    framed.turns,
                                    area.left,
                                    area.top,
                                    area.width,
                                    area.height};
    std::copy(std::begin(numbers), std::end(numbers), placement);
    message = framed.crop ? optionvalues::rectangleText(*framed.crop) : std::string();
    return 0;
}

int studio_moved(int fullWidth, int fullHeight, const char *options, double *framing,
                 double columns, double rows)
{
    const geometry::Size size{fullWidth, fullHeight};
    const auto parsed = framingOptions(size, options);
    if (!parsed)
        return 1;
    const pictureframing::Framing moved =
        pictureframing::moved(size, *parsed, {framing[0], framing[1], framing[2]}, columns, rows);
    framing[0] = moved.zoom;
    framing[1] = moved.centreX;
    framing[2] = moved.centreY;
    return 0;
}

const char *studio_layout(const char *value, int hasPicture, int hasText)
{
    const std::string word = value ? value : "";
    const screenlayout::Layout *layout =
        word.empty() ? &screenlayout::automatic(hasPicture != 0, hasText != 0)
                     : screenlayout::find(word);
    if (!layout)
        return nullptr;
    written = "{\"value\":";
    putString(written, layout->value);
    written += ",\"picture\":";
    putLayoutArea(written, layout->showsPicture, layout->pictureArea);
    written += ",\"text\":";
    putLayoutArea(written, layout->showsText, layout->textArea);
    written += '}';
    return written.c_str();
}

} // extern "C"
