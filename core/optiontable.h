#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every option of the commands that make screens, once: its name, what kind of value it takes,
// the values with the words people see, its range, default, unit and help. The command-line
// tool builds its parser and --help from this table, the browser studio its controls, ranges and
// defaults, and the values given are read back in one place (optionvalues).
namespace optiontable {

// The commands that take options from the table, as bits of Option::commands.
enum Command : unsigned {
    Convert = 1u << 0,
    Text = 1u << 1,
    Compare = 1u << 2,
    Show = 1u << 3,
    Link = 1u << 4,
};

// What a value looks like.
enum class Kind {
    Flag,   // present or not, no value: --invert
    Choice, // one of `choices`: --dither none
    Whole,  // a whole number from `minimum` to `maximum`, or the word `automatic` where it has one
    Number, // any number from `minimum` to `maximum`: --gamma 1.5
    Area,   // X,Y,W,H: a rectangle of at least one pixel on the display
    Rectangle, // X,Y,W,H: a rectangle of at least one pixel in a picture's own pixels
    Path,      // a file name, - for a standard stream
    Format,    // the name of a format that can be written (tbs, bmp, png, ...)
    Address,   // a web page's address: https://...
};

// The code of a choice that leaves the value to be chosen from the picture (--dither auto).
constexpr int Automatic = -1;

struct Choice
{
    std::string value; // as typed after the option
    std::string label; // the words people see for it
    int code = 0;      // what the core's rules take: the enum's value, or Automatic
};

struct Option
{
    std::string name;      // without the dashes
    std::string shortName; // a one-letter alias, or empty
    unsigned commands = 0; // a set of Command bits
    Kind kind = Kind::Flag;
    std::string valueName; // in the usage and help: METHOD, X,Y,W,H
    std::string label;     // the words people see for the option itself
    std::vector<Choice> choices;
    double minimum = 0;
    double maximum = 0;
    double step = 1;          // the steps a control moves in
    std::string automatic;    // a Whole option's word for "chosen from the picture", or empty
    std::string defaultValue; // as typed; empty where there is none
    std::string unit;         // what a number counts, or empty
    std::string help;         // one line
    // One line in plain words for a page that shows the option as a control, or empty.
    std::string hint;
    // Where a page with controls starts from another value than the tool: the value, for a
    // flag "on"; empty where both start from the default.
    std::string pageDefault;
    // The option decides where the picture lands and what it looks like before its tone and
    // dithering: a picture reduced to the display must be reduced again when it changes.
    bool placesPicture = false;
    // Only the command-line tool has it: what it writes and where, what it reports. A front end
    // that makes screens on its own page (the studio) offers every other row.
    bool toolOnly = false;
};

// The rows, in the order --help lists them.
const std::vector<Option> &options();

// The rows a command takes, in the order --help lists them.
std::vector<const Option *> optionsOf(Command command);

// The row of the named option of that command; nullptr when the command has none.
const Option *find(Command command, std::string_view name);

// The option's help as --help shows it: the help line with its values, range and default.
std::string helpText(const Option &option);

// The choices' values joined with ", ".
std::string choiceValues(const Option &option);

} // namespace optiontable
