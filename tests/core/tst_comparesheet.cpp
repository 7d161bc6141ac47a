// The compare sheet: each candidate is what its own options give, and is drawn as the marker
// shows it under its label.

#include "comparesheet.h"
#include "pixelfont.h"

#include <doctest/doctest.h>

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

TEST_CASE("every candidate is what the options it carries give, and each is shown once")
{
    // A yellow picture with a blue bar: the automatic choice thresholds it.
    std::vector<std::uint8_t> rgba;
    for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 40; ++x)
            rgba.insert(rgba.end(), x > 10 && x < 30 && y > 40 && y < 120
                                        ? std::initializer_list<std::uint8_t>{40, 40, 200, 255}
                                        : std::initializer_list<std::uint8_t>{250, 220, 40, 255});
    const RgbaView picture{rgba.data(), 40, 160, 40 * 4};
    struct Row
    {
        const char *name;
        std::optional<dithering::Method> dither;
        std::optional<int> threshold;
    };
    const Row rows[] = {
        {"automatic", std::nullopt, std::nullopt},
        {"atkinson at 100", dithering::Method::Atkinson, 100},
        {"none at 128, which a threshold candidate repeats", dithering::Method::None, 128},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        pictureconversion::Options given;
        given.dither = row.dither;
        given.threshold = row.threshold;
        given.tone.contrast = 20; // the given tone applies to every candidate
        const pictureconversion::PictureLevels levels =
            pictureconversion::pictureLevels(picture, given);
        const std::vector<comparesheet::Candidate> candidates =
            comparesheet::candidates(levels, given);
        REQUIRE(candidates.size() >= 8);
        CHECK(candidates.front().conversion.picture ==
              pictureconversion::convertLevels(levels, given).picture);
        std::set<std::pair<dithering::Method, int>> shown;
        for (const comparesheet::Candidate &candidate : candidates) {
            CHECK(candidate.options.tone.contrast == 20);
            CHECK(pictureconversion::convertLevels(levels, candidate.options).picture ==
                  candidate.conversion.picture);
            CHECK(shown.insert({*candidate.options.dither, *candidate.options.threshold}).second);
        }
    }
}

TEST_CASE("the sheet draws each pixel as a light or dark square with a gap, under its label")
{
    bootscreen::DisplayPicture picture;
    picture.setLit(3, 7, true);
    const comparesheet::Sheet sheet =
        comparesheet::draw({{bootscreen::DisplayPicture(), {"a"}}, {picture, {"a", "b"}}});
    const int labels = 2 * pixelfont::labelLineHeight();
    CHECK(sheet.width == 8 + 160 + 12 + 160 + 8);
    CHECK(sheet.height == 8 + labels + 4 + 640 + 8);
    REQUIRE(sheet.rgba.size() == std::size_t(sheet.width * sheet.height * 4));
    const auto grey = [&](int x, int y) {
        return sheet.rgba[std::size_t(y * sheet.width + x) * 4];
    };
    const int left = 8 + 160 + 12;
    const int top = 8 + labels + 4;
    CHECK(grey(left + 3 * 5, top + 7 * 5) > 200); // the lit pixel
    CHECK(grey(left + 3 * 5 + 3, top + 7 * 5 + 3) > 200);
    CHECK(grey(left + 3 * 5 + 4, top + 7 * 5 + 4) == 0); // its gap
    CHECK(grey(left + 2 * 5, top + 7 * 5) < 60);         // a dark one
    CHECK(grey(8, top) < 60);                            // the first screen is all dark
    // The 'a' of the second label, in the label font: its lowest row is .#.#.
    CHECK(grey(left, 8 + 5) < 100);
    CHECK(grey(left + 1, 8 + 5) > 200);
    CHECK(grey(left + 2, 8 + 5) < 100);
    // The 'b' below it: its top row is #....
    CHECK(grey(left, 8 + pixelfont::labelLineHeight()) > 200);
    CHECK(grey(left + 1, 8 + pixelfont::labelLineHeight()) < 100);
}
