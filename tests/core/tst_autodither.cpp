// What the defaults give on small synthetic pictures: solid logos in any colours, monotone
// ramps, flat greys at their level, whole strokes, and blank results reported.

#include "converting.h"
#include "pictureconversion.h"

#include <doctest/doctest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace {

using Colour = std::array<std::uint8_t, 4>;

// A picture four times the display's size, stretched onto it, so that one display pixel is
// the average of 4 x 4 picture pixels.
constexpr int Scale = 4;
constexpr int Width = 32 * Scale;
constexpr int Height = 128 * Scale;

struct Picture
{
    std::vector<std::uint8_t> rgba = std::vector<std::uint8_t>(size_t(Width * Height * 4), 0);

    void paint(const std::function<bool(double x, double y)> &inside, const Colour &colour)
    {
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                if (inside(x + 0.5, y + 0.5))
                    std::copy(colour.begin(), colour.end(), &rgba[size_t((y * Width + x) * 4)]);
            }
        }
    }
    RgbaView view() const { return {rgba.data(), Width, Height, Width * 4}; }
};

pictureconversion::Options stretched()
{
    pictureconversion::Options options;
    options.fit = picturefit::Fit::Stretch;
    return options;
}

bool inDisc(double x, double y)
{
    return std::hypot(x - 64, y - 200) < 56;
}
bool inSquare(double x, double y)
{
    return std::abs(x - 64) < 24 && std::abs(y - 200) < 24;
}
bool inBar(double x, double y)
{
    return std::abs(x - 64) < 40 && y > 320 && y < 400;
}

// Which painted region a display pixel lies wholly in (0 for the background), or -1 when it
// or a neighbour straddles an edge.
int interiorRegion(int column, int row)
{
    int region = -2;
    for (int y = (row - 1) * Scale; y < (row + 2) * Scale; ++y) {
        for (int x = (column - 1) * Scale; x < (column + 2) * Scale; ++x) {
            const double px = x + 0.5;
            const double py = y + 0.5;
            const int here = inSquare(px, py) ? 2 : inDisc(px, py) ? 1 : inBar(px, py) ? 3 : 0;
            if (region == -2)
                region = here;
            else if (region != here)
                return -1;
        }
    }
    return region;
}

} // namespace

TEST_CASE("a logo of a few flat colours in any hues comes out in solid fills, its shape visible")
{
    struct Row
    {
        const char *name;
        Colour background, disc, square, bar;
    };
    constexpr Colour Transparent{0, 0, 0, 0};
    const Row rows[] = {
        {"yellow disc, orange square, on transparent",
         Transparent,
         {250, 220, 40, 255},
         {230, 120, 20, 255},
         {250, 220, 40, 255}},
        {"dark red on transparent",
         Transparent,
         {150, 20, 50, 255},
         {150, 20, 50, 255},
         {150, 20, 50, 255}},
        {"dark red on black",
         {0, 0, 0, 255},
         {90, 10, 30, 255},
         {90, 10, 30, 255},
         {90, 10, 30, 255}},
        {"navy and red on transparent",
         Transparent,
         {0, 0, 128, 255},
         {200, 30, 30, 255},
         {0, 0, 128, 255}},
        {"light blue folder colours on transparent",
         Transparent,
         {53, 132, 228, 255},
         {160, 200, 240, 255},
         {53, 132, 228, 255}},
        {"black and grey on white",
         {255, 255, 255, 255},
         {30, 30, 30, 255},
         {120, 120, 120, 255},
         {30, 30, 30, 255}},
        {"cyan and orange on mid-grey",
         {128, 128, 128, 255},
         {0, 255, 255, 255},
         {255, 140, 0, 255},
         {255, 140, 0, 255}},
        {"pale yellow on white",
         {255, 255, 255, 255},
         {255, 250, 200, 255},
         {255, 250, 200, 255},
         {255, 250, 200, 255}},
        {"green and blue on dark grey",
         {40, 40, 40, 255},
         {40, 160, 60, 255},
         {30, 60, 200, 255},
         {40, 160, 60, 255}},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        Picture picture;
        picture.paint([](double, double) { return true; }, row.background);
        picture.paint(inDisc, row.disc);
        picture.paint(inSquare, row.square);
        picture.paint(inBar, row.bar);
        const bootscreen::DisplayPicture screen = converted(picture.view(), stretched()).picture;

        // Every region's interior takes one state: no lone pixel away from the edges.
        std::array<int, 4> lit{};
        std::array<int, 4> count{};
        for (int y = 1; y < 127; ++y) {
            for (int x = 1; x < 31; ++x) {
                const int region = interiorRegion(x, y);
                if (region < 0)
                    continue;
                ++count[size_t(region)];
                lit[size_t(region)] += screen.isLit(x, y) ? 1 : 0;
            }
        }
        for (size_t region = 0; region < 4; ++region) {
            CAPTURE(region);
            CHECK((lit[region] == 0 || lit[region] == count[region]));
        }
        // The shape stands out from the background.
        const bool backgroundLit = lit[0] > 0;
        CHECK((lit[1] > 0) != backgroundLit);
        CHECK((lit[3] > 0) != backgroundLit);
    }
}

TEST_CASE("a horizontal grey ramp lights more pixels in each of 8 bands, left to right")
{
    for (const bool flip : {false, true}) {
        CAPTURE(flip);
        Picture ramp;
        for (int y = 0; y < Height; ++y) {
            for (int x = 0; x < Width; ++x) {
                const auto level = std::uint8_t(flip ? 255 - x * 2 : x * 2);
                std::copy_n(Colour{level, level, level, 255}.begin(), 4,
                            &ramp.rgba[size_t((y * Width + x) * 4)]);
            }
        }
        const bootscreen::DisplayPicture screen = converted(ramp.view(), stretched()).picture;
        int previous = flip ? 4 * 128 + 1 : -1;
        for (int band = 0; band < 8; ++band) {
            int lit = 0;
            for (int column = band * 4; column < band * 4 + 4; ++column)
                for (int row = 0; row < 128; ++row)
                    lit += screen.isLit(column, row) ? 1 : 0;
            CAPTURE(band);
            if (flip)
                CHECK(lit < previous);
            else
                CHECK(lit > previous);
            previous = lit;
        }
    }
}

TEST_CASE("a flat grey lights its share of the pixels, with or without the level stretch")
{
    for (const bool stretchLevels : {true, false}) {
        for (const int grey : {0, 8, 40, 100, 128, 171, 230, 250, 255}) {
            CAPTURE(stretchLevels);
            CAPTURE(grey);
            const auto level = std::uint8_t(grey);
            Picture picture;
            picture.paint([](double, double) { return true; }, {level, level, level, 255});
            pictureconversion::Options options = stretched();
            options.tone.stretchLevels = stretchLevels;
            const pictureconversion::Conversion conversion = converted(picture.view(), options);
            CHECK(std::abs(conversion.picture.litCount() / 4096.0 - grey / 255.0) <= 0.02);
            CHECK_FALSE(conversion.blank);
        }
    }
}

TEST_CASE("thin light strokes on black stay whole")
{
    // One picture pixel wide at four times the display: a quarter of a display pixel.
    Picture picture;
    picture.paint([](double, double) { return true; }, {0, 0, 0, 255});
    const Colour light{220, 220, 220, 255};
    picture.paint(
        [](double x, double y) { return std::abs(std::hypot(x - 64, y - 120) - 50) < 0.6; }, light);
    picture.paint(
        [](double x, double y) {
            return y > 220 && y < 470 && std::abs(x - 20 - (y - 220) * 0.35) < 0.6;
        },
        light);
    const bootscreen::DisplayPicture screen = converted(picture.view(), stretched()).picture;

    // Count the lit pieces, neighbours in eight directions joining.
    std::array<bool, 32 * 128> seen{};
    int pieces = 0;
    for (int start = 0; start < 32 * 128; ++start) {
        if (seen[size_t(start)] || !screen.isLit(start % 32, start / 32))
            continue;
        ++pieces;
        std::vector<int> todo{start};
        seen[size_t(start)] = true;
        while (!todo.empty()) {
            const int at = todo.back();
            todo.pop_back();
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int x = at % 32 + dx;
                    const int y = at / 32 + dy;
                    if (x < 0 || y < 0 || x >= 32 || y >= 128 || seen[size_t(y * 32 + x)] ||
                        !screen.isLit(x, y))
                        continue;
                    seen[size_t(y * 32 + x)] = true;
                    todo.push_back(y * 32 + x);
                }
            }
        }
    }
    CHECK(pieces == 2);
}

TEST_CASE("a result that is all dark or all lit is reported unless the picture is one colour")
{
    struct Row
    {
        const char *name;
        Colour background, mark;
        pictureconversion::Background behind;
        bool blank;
    };
    const Row rows[] = {
        {"black mark on transparent, black behind",
         {0, 0, 0, 0},
         {0, 0, 0, 255},
         pictureconversion::Background::Black,
         true},
        {"white mark on transparent, white behind",
         {0, 0, 0, 0},
         {255, 255, 255, 255},
         pictureconversion::Background::White,
         true},
        {"black mark on transparent, white behind",
         {0, 0, 0, 0},
         {0, 0, 0, 255},
         pictureconversion::Background::White,
         false},
        {"all black", {0, 0, 0, 255}, {0, 0, 0, 255}, pictureconversion::Background::Black, false},
        {"all transparent, whatever the colour channels hold",
         {0, 0, 0, 0},
         {9, 9, 9, 0},
         pictureconversion::Background::Black,
         false},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        Picture picture;
        picture.paint([](double, double) { return true; }, row.background);
        picture.paint(inDisc, row.mark);
        pictureconversion::Options options = stretched();
        options.background = row.behind;
        CHECK(converted(picture.view(), options).blank == row.blank);
    }
}
