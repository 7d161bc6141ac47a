// The tone step: the picture's own levels stretched, then gamma, contrast and brightness, on the
// placed picture only.

#include "tone.h"

#include <doctest/doctest.h>

#include <cmath>

namespace {

constexpr geometry::Rect Covered{8, 40, 16, 16};

// Margins at `margin`; inside the placed picture, column x of it at `first` + x * `step`.
dithering::GreyLevels columnRamp(double margin, double first, double step)
{
    dithering::GreyLevels levels(32 * 128, margin);
    for (int y = Covered.top; y <= Covered.bottom(); ++y)
        for (int x = Covered.left; x <= Covered.right(); ++x)
            levels[size_t(y * 32 + x)] = first + (x - Covered.left) * step;
    return levels;
}

double at(const dithering::GreyLevels &levels, int column)
{
    return levels[size_t((Covered.top + 3) * 32 + Covered.left + column)];
}

} // namespace

TEST_CASE("the tone step maps the placed picture's levels and leaves the margins")
{
    struct Row
    {
        const char *name;
        tone::Adjustments adjustments;
        double first, step;                // the columns' levels before
        double column0, column8, column15; // after
    };
    const Row rows[] = {
        // Columns 40, 50, ..., 190: the robust range is the whole range here.
        {"levels stretched to black and white", {true, 0, 0, 1.0}, 40, 10, 0, 136, 255},
        {"nothing asked, nothing changed", {false, 0, 0, 1.0}, 40, 10, 40, 120, 190},
        {"a flat picture keeps its tone", {true, 0, 0, 1.0}, 100, 0, 100, 100, 100},
        {"nearly flat (7 levels) counts as flat",
         {true, 0, 0, 1.0},
         100,
         7.0 / 15,
         100,
         100 + 8 * 7.0 / 15,
         107},
        {"brightness adds hundredths of the range", {false, 50, 0, 1.0}, 40, 10, 167.5, 247.5, 255},
        {"brightness -100 is black", {false, -100, 0, 1.0}, 40, 10, 0, 0, 0},
        {"contrast -100 is mid-grey", {false, 0, -100, 1.0}, 40, 10, 127.5, 127.5, 127.5},
        {"contrast 50 triples the distance from mid-grey",
         {false, 0, 50, 1.0},
         40,
         10,
         0,
         105,
         255},
        {"contrast 100 is a step at mid-grey", {false, 0, 100, 1.0}, 40, 10, 0, 0, 255},
        {"gamma 2 lightens the middle tones",
         {false, 0, 0, 2.0},
         0,
         17,
         0,
         255 * std::sqrt(136 / 255.0),
         255},
        {"gamma 0.5 darkens them",
         {false, 0, 0, 0.5},
         0,
         17,
         0,
         255 * std::pow(136 / 255.0, 2),
         255},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        dithering::GreyLevels levels = columnRamp(255, row.first, row.step);
        tone::adjust(levels, Covered, row.adjustments);
        CHECK(at(levels, 0) == doctest::Approx(row.column0));
        CHECK(at(levels, 8) == doctest::Approx(row.column8));
        CHECK(at(levels, 15) == doctest::Approx(row.column15));
        CHECK(levels[0] == 255);                            // top-left margin
        CHECK(levels[size_t(Covered.top * 32 + 7)] == 255); // just left of the picture
    }
}

TEST_CASE("the robust range leaves out the picture's most extreme hundredth")
{
    // 256 pixels at 100-160, two stray black and two stray white ones among them.
    dithering::GreyLevels levels = columnRamp(0, 100, 4);
    levels[size_t(Covered.top * 32 + Covered.left)] = 0;
    levels[size_t(Covered.top * 32 + Covered.left + 1)] = 0;
    levels[size_t(Covered.bottom() * 32 + Covered.left)] = 255;
    levels[size_t(Covered.bottom() * 32 + Covered.left + 1)] = 255;
    const tone::LevelRange range = tone::robustRange(levels, Covered);
    CHECK(range.dark == 100);
    CHECK(range.light == 160);
}
