#include "optiontable.h"

#include "bootscreenformat.h"
#include "decimaltext.h"
#include "pictureconversion.h"
#include "pixelfont.h"
#include "textlayout.h"
#include "tone.h"

namespace optiontable {

namespace {

using dithering::Method;
using pictureconversion::Background;
using picturefit::Fit;
using picturefit::Rotation;
using textlayout::Alignment;
using TextRotation = textlayout::Rotation;

constexpr unsigned PictureCommands = Convert | Compare | Show | Link;
constexpr unsigned ScreenMakers = Convert | Text;

// The largest enlargement of an image output: 64 makes a 2048 x 8192 picture.
constexpr int MaxScale = 64;

std::string displaySize()
{
    return std::to_string(bootscreen::DisplayColumns) + " x " +
           std::to_string(bootscreen::DisplayRows);
}

Option valued(std::string name, unsigned commands, Kind kind, std::string valueName,
              std::string label, std::string help)
{
    Option option;
    option.name = std::move(name);
    option.commands = commands;
    option.kind = kind;
    option.valueName = std::move(valueName);
    option.label = std::move(label);
    option.help = std::move(help);
    return option;
}

Option flag(std::string name, unsigned commands, std::string label, std::string help)
{
    return valued(std::move(name), commands, Kind::Flag, {}, std::move(label), std::move(help));
}

Option choice(std::string name, unsigned commands, std::string valueName, std::string label,
              std::vector<Choice> choices, std::string defaultValue, std::string help)
{
    Option option = valued(std::move(name), commands, Kind::Choice, std::move(valueName),
                           std::move(label), std::move(help));
    option.choices = std::move(choices);
    option.defaultValue = std::move(defaultValue);
    return option;
}

Option number(std::string name, unsigned commands, Kind kind, std::string valueName,
              std::string label, double minimum, double maximum, double defaultValue,
              std::string unit, std::string help)
{
    Option option = valued(std::move(name), commands, kind, std::move(valueName), std::move(label),
                           std::move(help));
    option.minimum = minimum;
    option.maximum = maximum;
    option.step = kind == Kind::Whole ? 1 : 0.1;
    option.defaultValue = decimaltext::spelled(defaultValue);
    option.unit = std::move(unit);
    return option;
}

Option output(unsigned commands, std::string valueName, std::string help)
{
    Option option =
        valued("output", commands, Kind::Path, std::move(valueName), "Output", std::move(help));
    option.shortName = "o";
    option.toolOnly = true;
    return option;
}

Option toolOnly(Option option)
{
    option.toolOnly = true;
    return option;
}

std::vector<Choice> fontChoices()
{
    std::vector<Choice> choices{{"auto", "Automatic", Automatic}};
    const std::vector<const pixelfont::Font *> &fonts = pixelfont::bundledFonts();
    for (size_t i = 0; i < fonts.size(); ++i)
        choices.push_back({fonts[i]->name,
                           std::string(fonts[i]->name) + " (" +
                               std::to_string(fonts[i]->cellWidth) + " \u00d7 " +
                               std::to_string(fonts[i]->cellHeight) + ")",
                           int(i)});
    return choices;
}

// What a page that shows the options as controls says of each, in plain words, and where it
// starts from another value than the tool: a page lays text out as it is typed, so lines wrap.
void addPageWords(std::vector<Option> &rows)
{
    struct Words
    {
        unsigned commands;
        const char *name;
        const char *hint;
        const char *pageDefault;
    };
    static const Words words[] = {
        {Convert, "fit", "Whole picture keeps all of it; Fill the screen cuts the edges off", ""},
        {Convert, "rotate", "Turn the picture before it is fitted", ""},
        {Convert, "dither", "How shades of grey become lit and dark pixels", ""},
        {Convert, "threshold", "How light a pixel must be to be lit", ""},
        {Convert, "levels", "Automatic stretches the picture's darkest and lightest tones", ""},
        {Convert, "brightness", "Lighter or darker, in percent", ""},
        {Convert, "contrast", "More gives crisper shapes, less softer ones", ""},
        {Convert, "gamma", "Above 1 lightens the middle tones, below 1 darkens them", ""},
        {Convert, "invert", "Swap lit and dark in the picture", ""},
        {Convert, "background", "What transparent parts and empty margins become", ""},
        {Convert, "crop", "The part of the picture the screen shows", ""},
        {Convert | Text, "area", "Where on the screen it goes, in display pixels", ""},
        {Text, "font", "Automatic takes the largest font that fits", ""},
        {Text, "rotate", "Turn the text to run along the tall screen", ""},
        {Text, "align", "Where each line sits across its area", ""},
        {Text, "wrap", "Break long lines at spaces so that a larger font fits", "on"},
        {Text, "invert", "Dark letters on a lit background", ""},
    };
    for (const Words &each : words) {
        for (Option &option : rows) {
            if ((option.commands & each.commands) && option.name == each.name) {
                option.hint = each.hint;
                option.pageDefault = each.pageDefault;
            }
        }
    }
}

std::vector<Option> rows()
{
    std::vector<Option> rows;
    rows.push_back(output(Convert, "OUTPUT", "The file (or folder) to write"));
    rows.push_back(output(Text, "OUTPUT", "The file to write"));
    rows.push_back(output(Compare, "SHEET.png", "The sheet to write, a PNG"));
    rows.push_back(
        toolOnly(valued("format", ScreenMakers, Kind::Format, "FORMAT", "Format",
                        "Write this format whatever OUTPUT's extension: tbs, bmp, png, pbm")));
    rows.push_back(
        toolOnly(number("scale", ScreenMakers, Kind::Whole, "N", "Scale", 1, MaxScale, 1, "times",
                        "Enlarge image outputs N times, one square per pixel")));
    rows.push_back(toolOnly(flag("verbose", Convert, "Verbose",
                                 "Say on standard error which --dither and --threshold each "
                                 "picture got, to copy")));
    rows.push_back(
        toolOnly(flag("ascii", Show, "ASCII", "Print 128 rows of # (lit) and . instead")));
    rows.push_back(toolOnly(valued("base", Link, Kind::Address, "URL", "Base",
                                   "The page the link opens; without it, the link is the "
                                   "fragment alone (#screen=\u2026)")));

    // A page chooses the part on the picture itself (dragging and zooming) rather than in four
    // number boxes.
    Option crop =
        valued("crop", PictureCommands, Kind::Rectangle, "X,Y,W,H", "Crop",
               "Convert only this rectangle of the picture, in its own pixels as it is upright "
               "before --rotate; it must lie inside the picture. Boot screens and the editor's "
               "bitmap are not cropped");
    crop.placesPicture = true;
    rows.push_back(crop);
    Option fit = choice("fit", PictureCommands, "MODE", "Fit",
                        {{"contain", "Whole picture", int(Fit::Contain)},
                         {"cover", "Fill the screen", int(Fit::Cover)},
                         {"stretch", "Stretch", int(Fit::Stretch)},
                         {"none", "Actual size", int(Fit::None)}},
                        "contain", "How the picture fills the " + displaySize() + " screen");
    fit.placesPicture = true;
    rows.push_back(fit);
    Option rotate = choice("rotate", PictureCommands, "ANGLE", "Rotate",
                           {{"0", "No turn", int(Rotation::None)},
                            {"90", "90\u00b0 clockwise", int(Rotation::Quarter)},
                            {"180", "180\u00b0", int(Rotation::Half)},
                            {"270", "90\u00b0 anticlockwise", int(Rotation::ThreeQuarters)},
                            {"auto", "Automatic", int(Rotation::Auto)}},
                           "0", "Clockwise turn before fitting; auto turns a landscape picture");
    rotate.placesPicture = true;
    rows.push_back(rotate);
    rows.push_back(choice("dither", PictureCommands, "METHOD", "Dither",
                          {{"auto", "Automatic", Automatic},
                           {"floyd-steinberg", "Fine dots", int(Method::FloydSteinberg)},
                           {"atkinson", "Light dots", int(Method::Atkinson)},
                           {"bayer", "Pattern", int(Method::Bayer)},
                           {"none", "Clean shapes", int(Method::None)},
                           {"regions", "Shaded regions", int(Method::Regions)},
                           {"structure", "Shapes and edges", int(Method::Structure)}},
                          "auto",
                          "How grey becomes lit and dark pixels; auto thresholds logos and text "
                          "cleanly, draws shaded icons as solid regions with lines between them, "
                          "diffuses photos with structure and plain gradients with "
                          "floyd-steinberg"));
    Option threshold =
        number("threshold", PictureCommands, Kind::Whole, "LEVEL", "Threshold", 0, 255, 0, "",
               "The level from which a pixel counts as lit, after the tone options; auto picks "
               "it between the picture's main tones, or 128 for a dithered "
               "picture, and with a dither method a level only shifts the "
               "pattern");
    threshold.automatic = "auto";
    threshold.defaultValue = "auto";
    rows.push_back(threshold);
    rows.push_back(choice("levels", PictureCommands, "MODE", "Levels",
                          {{"auto", "Automatic", 1}, {"none", "As they are", 0}}, "auto",
                          "auto stretches the picture's own dark and light levels to black and "
                          "white (a flat picture keeps its tone)"));
    rows.push_back(number("brightness", PictureCommands, Kind::Whole, "N", "Brightness",
                          tone::MinBrightness, tone::MaxBrightness, 0, "%",
                          "Lighten or darken the picture"));
    rows.push_back(number("contrast", PictureCommands, Kind::Whole, "N", "Contrast",
                          tone::MinContrast, tone::MaxContrast, 0, "",
                          "More (a hard step at the top) or less (flat grey at the bottom) "
                          "contrast"));
    rows.push_back(number("gamma", PictureCommands, Kind::Number, "G", "Gamma", tone::MinGamma,
                          tone::MaxGamma, 1, "",
                          "Above 1 lightens the middle tones, below 1 darkens them"));
    rows.push_back(
        flag("invert", PictureCommands, "Invert", "Swap lit and dark over the whole screen"));
    Option background = choice(
        "background", PictureCommands, "COLOUR", "Background",
        {{"black", "Black", int(Background::Black)}, {"white", "White", int(Background::White)}},
        "black", "What transparent pixels and margins become");
    background.placesPicture = true;
    rows.push_back(background);

    rows.push_back(choice("font", Text, "NAME", "Font", fontChoices(), "auto",
                          "The font: a name from --list-fonts, or auto for the largest that "
                          "fits"));
    rows.push_back(
        toolOnly(flag("list-fonts", Text, "List fonts", "List the fonts with their sizes")));
    rows.push_back(choice("rotate", Text, "ANGLE", "Text rotation",
                          {{"0", "Upright", int(TextRotation::None)},
                           {"90", "Top to bottom", int(TextRotation::Quarter)},
                           {"270", "Bottom to top", int(TextRotation::ThreeQuarters)},
                           {"auto", "Automatic", int(TextRotation::Auto)}},
                          "auto",
                          "Clockwise turn of the text; 90 reads from top to bottom, auto takes "
                          "the direction that allows the larger font"));
    rows.push_back(choice("align", Text, "SIDE", "Align",
                          {{"left", "Left", int(Alignment::Left)},
                           {"center", "Centre", int(Alignment::Center)},
                           {"right", "Right", int(Alignment::Right)}},
                          "center",
                          "Where each line goes; the lines are centred as a block across them"));
    rows.push_back(flag("wrap", Text, "Wrap lines",
                        "Break a line at its spaces where it does not fit; the font is the "
                        "largest that fits wrapped"));
    rows.push_back(flag("invert", Text, "Dark text", "Dark text on a lit screen (or area)"));

    Option area = valued("area", ScreenMakers | Link, Kind::Area, "X,Y,W,H", "Area",
                         "Put the result in this rectangle of the display (in display pixels, "
                         "inside " +
                             displaySize() + "); the other options concern it alone");
    area.defaultValue = "0,0," + std::to_string(bootscreen::DisplayColumns) + "," +
                        std::to_string(bootscreen::DisplayRows);
    area.placesPicture = true;
    rows.push_back(area);
    rows.push_back(
        toolOnly(valued("over", ScreenMakers, Kind::Path, "FILE", "Over",
                        "Start from this screen (a .tbs file or a picture) instead of a blank "
                        "one; only the area changes. It may be OUTPUT itself")));
    addPageWords(rows);
    return rows;
}

} // namespace

const std::vector<Option> &options()
{
    static const std::vector<Option> table = rows();
    return table;
}

std::vector<const Option *> optionsOf(Command command)
{
    std::vector<const Option *> result;
    for (const Option &option : options()) {
        if (option.commands & command)
            result.push_back(&option);
    }
    return result;
}

const Option *find(Command command, std::string_view name)
{
    for (const Option &option : options()) {
        if ((option.commands & command) && option.name == name)
            return &option;
    }
    return nullptr;
}

std::string choiceValues(const Option &option)
{
    std::string text;
    for (const Choice &each : option.choices)
        text += (text.empty() ? "" : ", ") + each.value;
    return text;
}

std::string helpText(const Option &option)
{
    std::string text = option.help;
    switch (option.kind) {
    case Kind::Choice: {
        text += ": ";
        for (size_t i = 0; i < option.choices.size(); ++i) {
            if (i > 0)
                text += i + 1 == option.choices.size() ? " or " : ", ";
            text += option.choices[i].value;
        }
        break;
    }
    case Kind::Whole:
    case Kind::Number:
        text += ": ";
        if (!option.automatic.empty())
            text += option.automatic + " or ";
        text +=
            decimaltext::spelled(option.minimum) + " to " + decimaltext::spelled(option.maximum);
        break;
    case Kind::Flag:
    case Kind::Area:
    case Kind::Rectangle:
    case Kind::Path:
    case Kind::Format:
    case Kind::Address:
        break;
    }
    if (!option.defaultValue.empty() && option.kind != Kind::Area)
        text += " (default " + option.defaultValue + ")";
    return text + ".";
}

} // namespace optiontable
