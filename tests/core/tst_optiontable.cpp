// The option table every front end builds its options from: rows that hold together, and values
// read back into the core's settings as tbs reads them.

#include "optiontable.h"
#include "optionvalues.h"

#include <doctest/doctest.h>

#include <set>
#include <string>

TEST_CASE("every row of the table holds together")
{
    for (const optiontable::Option &option : optiontable::options()) {
        CAPTURE(option.name);
        CHECK(option.commands != 0);
        CHECK_FALSE(option.label.empty());
        CHECK_FALSE(option.help.empty());
        // A default must be a value the option itself takes: a control starts there.
        if (!option.defaultValue.empty())
            CHECK_FALSE(optionvalues::problemWith(option, option.defaultValue));
        std::set<std::string> values;
        std::set<int> codes;
        for (const optiontable::Choice &choice : option.choices) {
            CHECK(values.insert(choice.value).second);
            CHECK(codes.insert(choice.code).second);
            CHECK_FALSE(choice.label.empty());
        }
    }
}

TEST_CASE("each command names an option once")
{
    for (const optiontable::Command command :
         {optiontable::Convert, optiontable::Text, optiontable::Compare, optiontable::Show,
          optiontable::Link}) {
        std::set<std::string> names;
        for (const optiontable::Option *option : optiontable::optionsOf(command))
            CHECK_MESSAGE(names.insert(option->name).second, option->name);
    }
}

TEST_CASE("every dither method has its value, and the value gives the method back")
{
    for (const optiontable::Choice &choice :
         optiontable::find(optiontable::Convert, "dither")->choices) {
        if (choice.code == optiontable::Automatic)
            continue;
        const auto method = static_cast<dithering::Method>(choice.code);
        CHECK(optionvalues::ditherValue(method) == choice.value);
        const auto read = optionvalues::conversionOptions({{"dither", choice.value}});
        REQUIRE(std::holds_alternative<pictureconversion::Options>(read));
        CHECK(std::get<pictureconversion::Options>(read).dither == method);
    }
}

TEST_CASE("values are read as tbs reads them, and refused in its words")
{
    struct Row
    {
        const char *name, *value, *problem; // an empty problem: taken
    };
    const Row rows[] = {
        {"brightness", " -100 ", ""},
        {"brightness", "+7", ""},
        {"brightness", "101", "--brightness takes a whole number from -100 to 100, not '101'."},
        {"brightness", "1.5", "--brightness takes a whole number from -100 to 100, not '1.5'."},
        {"threshold", "auto", ""},
        {"threshold", "", "--threshold takes auto or a whole number from 0 to 255, not ''."},
        {"gamma", "2.5e-1", ""},
        {"gamma", "0.1", "--gamma takes a number from 0.2 to 5, not '0.1'."},
        {"gamma", "nan", "--gamma takes a number from 0.2 to 5, not 'nan'."},
        {"fit", "Cover", "--fit takes contain, cover, stretch, none, not 'Cover'."},
        {"area", "0,96,32,32", ""},
        {"area", "0,96,32,33",
         "--area takes X,Y,W,H, a rectangle of at least one pixel inside the 32 x 128 display, "
         "not '0,96,32,33'."},
        {"area", "1,2,3,0004",
         "--area takes X,Y,W,H, a rectangle of at least one pixel inside the 32 x 128 display, "
         "not '1,2,3,0004'."},
        {"crop", "0,0,999999999,1", ""},
        {"crop", "0,0,1000000000,1",
         "--crop takes X,Y,W,H, a rectangle of at least one pixel in the picture's own pixels, "
         "not '0,0,1000000000,1'."},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        CAPTURE(row.value);
        const auto read = optionvalues::conversionOptions({{row.name, row.value}});
        const std::string *problem = std::get_if<std::string>(&read);
        CHECK((problem ? *problem : std::string()) == row.problem);
    }
    // The last of two values counts, as on a command line.
    const auto twice = optionvalues::conversionOptions({{"threshold", "7"}, {"threshold", "9"}});
    CHECK(std::get<pictureconversion::Options>(twice).threshold == 9);
}
