// The core's conversion of RGBA rows: what the Qt programs and the browser share.

#include "converting.h"
#include "pictureconversion.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::uint8_t> flat(int width, int height, std::uint8_t level, std::uint8_t alpha)
{
    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < width * height; ++i)
        rgba.insert(rgba.end(), {level, level, level, alpha});
    return rgba;
}

} // namespace

TEST_CASE("transparency shows the background, and margins take it too")
{
    struct Row
    {
        const char *name;
        std::uint8_t alpha;
        pictureconversion::Background background;
        double inside, margin;
    };
    const Row rows[] = {
        {"opaque grey on black", 255, pictureconversion::Background::Black, 100, 0},
        {"transparent on white", 0, pictureconversion::Background::White, 255, 255},
        {"half transparent over white", 51, pictureconversion::Background::White, 224, 255},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        const std::vector<std::uint8_t> rgba = flat(64, 64, 100, row.alpha);
        pictureconversion::Options options;
        options.background = row.background;
        const dithering::GreyLevels levels =
            pictureconversion::pictureLevels({rgba.data(), 64, 64, 64 * 4}, options).levels;
        CHECK(levels[size_t(64 * 32 + 16)] == doctest::Approx(row.inside)); // row 64, column 16
        CHECK(levels[0] == doctest::Approx(row.margin)); // contained: rows 0-47 are margin
    }
}

TEST_CASE("rows handed in bands give exactly the levels of the whole picture")
{
    std::vector<std::uint8_t> rgba;
    for (int i = 0; i < 50 * 70; ++i)
        rgba.insert(rgba.end(), {std::uint8_t(i * 7), std::uint8_t(i * 13), std::uint8_t(i), 200});
    const RgbaView whole{rgba.data(), 50, 70, 50 * 4};
    pictureconversion::Options options;
    options.rotation = picturefit::Rotation::Quarter;
    pictureconversion::GreyLevelAccumulator banded(whole.size(), options);
    for (int top = 0; top < 70; top += 16) {
        const int rows = top + 16 <= 70 ? 16 : 70 - top;
        banded.addRows({whole.row(top), 50, rows, whole.stride}, top);
    }
    CHECK(banded.levels() == pictureconversion::pictureLevels(whole, options).levels);
}

TEST_CASE("invert swaps every pixel of the converted picture")
{
    const std::vector<std::uint8_t> rgba = flat(32, 128, 200, 255);
    pictureconversion::Options options;
    const bootscreen::DisplayPicture plain =
        converted({rgba.data(), 32, 128, 32 * 4}, options).picture;
    options.invert = true;
    CHECK(converted({rgba.data(), 32, 128, 32 * 4}, options).picture == plain.inverted());
}

TEST_CASE("a picture in an area is the same wherever the area lies, and the rest stays dark")
{
    std::vector<std::uint8_t> rgba;
    const std::uint32_t seed = 20240616; // a noisy picture, full of dithering error
    CAPTURE(seed);
    std::uint32_t state = seed;
    for (int i = 0; i < 40 * 60; ++i) {
        state = state * 1664525u + 1013904223u;
        const auto level = std::uint8_t(state >> 24);
        rgba.insert(rgba.end(), {level, level, level, 255});
    }
    const RgbaView picture{rgba.data(), 40, 60, 40 * 4};
    struct Row
    {
        const char *name;
        dithering::Method dither;
        pictureconversion::Background background;
        bool invert;
    };
    const Row rows[] = {
        {"Floyd-Steinberg", dithering::Method::FloydSteinberg, pictureconversion::Background::Black,
         false},
        {"Atkinson on white", dithering::Method::Atkinson, pictureconversion::Background::White,
         false},
        {"Bayer", dithering::Method::Bayer, pictureconversion::Background::Black, false},
        {"threshold, inverted", dithering::Method::None, pictureconversion::Background::Black,
         true},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        pictureconversion::Options options;
        options.dither = row.dither;
        options.background = row.background;
        options.invert = row.invert;
        options.fit = picturefit::Fit::Cover;
        options.area = {0, 0, 13, 50};
        const bootscreen::DisplayPicture corner = converted(picture, options).picture;
        options.area = {19, 71, 13, 50};
        const bootscreen::DisplayPicture moved = converted(picture, options).picture;
        int lit = 0;
        for (int row = 0; row < bootscreen::DisplayRows; ++row) {
            for (int column = 0; column < bootscreen::DisplayColumns; ++column) {
                const bool inCorner = column < 13 && row < 50;
                const bool inMoved = column >= 19 && row >= 71 && row < 121;
                if (!inCorner)
                    CHECK_FALSE(corner.isLit(column, row));
                if (!inMoved)
                    CHECK_FALSE(moved.isLit(column, row));
                if (inCorner) {
                    CHECK(corner.isLit(column, row) == moved.isLit(column + 19, row + 71));
                    lit += corner.isLit(column, row) ? 1 : 0;
                }
            }
        }
        CHECK(lit > 13 * 50 / 5);
        CHECK(lit < 13 * 50 * 4 / 5);
    }
}

TEST_CASE("the fit and the automatic turn work within the area")
{
    using picturefit::Fit;
    struct Row
    {
        const char *name;
        geometry::Size picture;
        Fit fit;
        geometry::Rect area;
        geometry::Rect placed;
    };
    const Row rows[] = {
        {"contain, same shape", {64, 64}, Fit::Contain, {0, 96, 32, 32}, {0, 96, 32, 32}},
        {"contain, margins above and below",
         {64, 32},
         Fit::Contain,
         {4, 10, 20, 40},
         {4, 25, 20, 10}},
        {"cover, cropped left and right", {64, 32}, Fit::Cover, {0, 0, 32, 32}, {-16, 0, 64, 32}},
        {"stretch", {5, 7}, Fit::Stretch, {3, 4, 10, 11}, {3, 4, 10, 11}},
        {"none, centred", {10, 10}, Fit::None, {0, 64, 32, 32}, {11, 75, 10, 10}},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        CHECK(picturefit::placement(row.picture, row.fit, row.area) == row.placed);
    }

    struct Turn
    {
        geometry::Size picture;
        geometry::Size room;
        int turns;
    };
    const Turn turns[] = {
        {{60, 30}, {32, 128}, 1},                          // landscape onto the tall display
        {{30, 60}, {32, 128}, 0}, {{60, 30}, {32, 20}, 0}, // already along a wide area
        {{30, 60}, {32, 20}, 1},  {{40, 40}, {32, 128}, 0}, {{60, 30}, {32, 32}, 0},
    };
    for (const Turn &turn : turns) {
        CAPTURE(turn.picture.width);
        CAPTURE(turn.room.width);
        CHECK(picturefit::quarterTurns(picturefit::Rotation::Auto, turn.picture, turn.room) ==
              turn.turns);
    }
}

TEST_CASE("a crop converts exactly as the picture that is the cropped rectangle")
{
    // Noise on the left half, two flat tones on the right: the automatic choices, the turn and
    // the fit must see the crop alone.
    const std::uint32_t seed = 20261208;
    CAPTURE(seed);
    const auto picture = [seed](int width, int height) {
        std::vector<std::uint8_t> rgba;
        std::uint32_t state = seed;
        for (int i = 0; i < width * height; ++i) {
            state = state * 1664525u + 1013904223u;
            const bool noise = i % width < width / 2;
            const auto level = std::uint8_t(noise                    ? state >> 24
                                            : i < width * height / 2 ? 30
                                                                     : 220);
            rgba.insert(rgba.end(), {level, level, level, 255});
        }
        return rgba;
    };
    using picturefit::Fit;
    using picturefit::Rotation;
    struct Row
    {
        std::string name;
        geometry::Rect crop; // in the 96 x 80 picture's pixels
        int divisor;         // the picture decoded at 1/divisor of its size
        Rotation rotation;
        Fit fit;
    };
    const Row rows[] = {
        {"two flat tones beside noise, half turn", {50, 10, 40, 60}, 1, Rotation::Half, Fit::Cover},
        {"one flat tone", {60, 2, 30, 30}, 1, Rotation::None, Fit::Contain},
        {"a quarter turn", {5, 7, 61, 33}, 1, Rotation::Quarter, Fit::Contain},
        {"three quarters, stretched", {1, 1, 94, 9}, 1, Rotation::ThreeQuarters, Fit::Stretch},
        {"the crop's shape decides the turn", {10, 0, 20, 80}, 1, Rotation::Auto, Fit::Contain},
        {"decoded at 1/2, turned", {8, 4, 40, 60}, 2, Rotation::Quarter, Fit::Contain},
        {"decoded at 1/4", {16, 8, 48, 64}, 4, Rotation::None, Fit::Cover},
    };
    for (const Row &row : rows) {
        CAPTURE(row.name);
        const int width = 96 / row.divisor, height = 80 / row.divisor;
        const std::vector<std::uint8_t> whole = picture(width, height);
        const geometry::Rect part{row.crop.left / row.divisor, row.crop.top / row.divisor,
                                  row.crop.width / row.divisor, row.crop.height / row.divisor};
        std::vector<std::uint8_t> cropped;
        for (int y = part.top; y <= part.bottom(); ++y) {
            const auto line = whole.begin() + 4 * (y * width + part.left);
            cropped.insert(cropped.end(), line, line + 4 * part.width);
        }
        pictureconversion::Options options;
        options.rotation = row.rotation;
        options.fit = row.fit;
        const pictureconversion::PictureLevels expected = pictureconversion::pictureLevels(
            {cropped.data(), part.width, part.height, part.width * 4}, options,
            {row.crop.width, row.crop.height});
        options.crop = row.crop;
        const pictureconversion::PictureLevels levels = pictureconversion::pictureLevels(
            {whole.data(), width, height, width * 4}, options, {96, 80});
        CHECK(levels.levels == expected.levels);
        CHECK(levels.covered == expected.covered);
        CHECK(levels.mainToneShare == expected.mainToneShare);
        CHECK(levels.textureShare == expected.textureShare);
        CHECK(levels.uniform == expected.uniform);
    }

    // The tones meet at full row 40 of a picture decoded at 1/2: rows 31 to 48 put that edge
    // in their middle, between display rows 63 and 64 when stretched, where a crop rounded to
    // the decoded pixels would leave a grey row.
    const std::vector<std::uint8_t> tones = picture(50, 40);
    pictureconversion::Options options;
    options.fit = picturefit::Fit::Stretch;
    options.crop = geometry::Rect{52, 31, 46, 18};
    const dithering::GreyLevels levels =
        pictureconversion::pictureLevels({tones.data(), 50, 40, 50 * 4}, options, {100, 80}).levels;
    for (int row = 0; row < bootscreen::DisplayRows; ++row) {
        CAPTURE(row);
        CHECK(levels[size_t(row * bootscreen::DisplayColumns + 5)] == (row < 64 ? 30 : 220));
    }
}
