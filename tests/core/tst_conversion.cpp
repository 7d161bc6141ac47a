// The core's conversion of RGBA rows: what the Qt programs and the browser share.

#include "pictureconversion.h"

#include <doctest/doctest.h>

#include <cstdint>
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
            pictureconversion::greyLevels({rgba.data(), 64, 64, 64 * 4}, options);
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
    CHECK(banded.levels() == pictureconversion::greyLevels(whole, options));
}

TEST_CASE("invert swaps every pixel of the converted picture")
{
    const std::vector<std::uint8_t> rgba = flat(32, 128, 200, 255);
    pictureconversion::Options options;
    const bootscreen::DisplayPicture plain =
        pictureconversion::convertPicture({rgba.data(), 32, 128, 32 * 4}, options);
    options.invert = true;
    CHECK(pictureconversion::convertPicture({rgba.data(), 32, 128, 32 * 4}, options) ==
          plain.inverted());
}
