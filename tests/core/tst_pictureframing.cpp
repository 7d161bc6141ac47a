// The part of a picture a zoomed view shows (the crop it gives, where it lands) and which way a
// moved picture takes the view, for each turn; and the layouts' areas.

#include "pictureframing.h"
#include "screenlayout.h"

#include <doctest/doctest.h>

#include <optional>
#include <sstream>

using geometry::Rect;
using geometry::Size;
using picturefit::Fit;
using picturefit::Rotation;
using pictureframing::Framing;

namespace {

std::string text(const std::optional<Rect> &rect)
{
    if (!rect)
        return "whole";
    std::ostringstream out;
    out << rect->left << ',' << rect->top << ',' << rect->width << ',' << rect->height;
    return out.str();
}

pictureconversion::Options options(Fit fit, Rotation rotation, Rect area)
{
    pictureconversion::Options options;
    options.fit = fit;
    options.rotation = rotation;
    options.area = area;
    return options;
}

} // namespace

TEST_CASE("a framing gives the crop of the part in view, held on the picture")
{
    const Rect top{0, 0, 32, 96};
    const Rect whole{0, 0, 32, 128};
    struct Row
    {
        const char *what;
        Size picture;
        pictureconversion::Options options;
        Framing framing;
        const char *crop;
        Rect placed;
    };
    const Row rows[] = {
        {"1x shows what the fit shows",
         {256, 256},
         options(Fit::Contain, Rotation::None, top),
         {1, 0.5, 0.5},
         "whole",
         {0, 32, 32, 32}},
        {"1x centred keeps cover's own cut",
         {4000, 3000},
         options(Fit::Cover, Rotation::None, whole),
         {1, 0.5, 0.5},
         "whole",
         {-70, 0, 171, 128}},
        {"1x moved cover picks the part",
         {4000, 3000},
         options(Fit::Cover, Rotation::None, whole),
         {1, 0.0, 0.5},
         "0,0,750,3000",
         {0, 0, 32, 128}},
        {"3x a third of the contained view",
         {256, 256},
         options(Fit::Contain, Rotation::None, top),
         {3, 0.5, 0.5},
         "85,0,86,256",
         {0, 0, 32, 95}},
        {"8x held at the corner",
         {256, 256},
         options(Fit::Contain, Rotation::None, top),
         {8, 0.0, 0.0},
         "0,0,32,96",
         {0, 0, 32, 96}},
        {"a quarter turn crops across the picture",
         {4000, 3000},
         options(Fit::Contain, Rotation::Quarter, whole),
         {4, 0.5, 0.5},
         "500,1125,3000,750",
         {0, 0, 32, 128}},
        {"stretch zooms the picture's own shape",
         {100, 50},
         options(Fit::Stretch, Rotation::None, whole),
         {2, 0.5, 0.5},
         "25,13,50,25",
         {0, 0, 32, 128}},
    };
    for (const Row &row : rows) {
        CAPTURE(row.what);
        const pictureframing::Framed framed =
            pictureframing::framed(row.picture, row.options, row.framing);
        CHECK(text(framed.crop) == row.crop);
        CHECK(text(framed.placed) == text(row.placed));
    }
}

TEST_CASE("moving the picture right shows what lay to its left, whatever the turn")
{
    // A landscape picture zoomed so far that the view can move both ways.
    const Size picture{4000, 3000};
    struct Row
    {
        Rotation rotation;
        double x; // the expected change of the view's centre, in the picture's pixels
        double y;
    };
    // 8 display pixels right: the part is 500 x 2000 upright (at 8x) and 3000 x 750 turned (at
    // 4x), on 32 across.
    const Row rows[] = {
        {Rotation::None, -8.0 * 500 / 32, 0},
        {Rotation::Quarter, 0, 8.0 * 750 / 32},
        {Rotation::Half, 8.0 * 500 / 32, 0},
        {Rotation::ThreeQuarters, 0, -8.0 * 750 / 32},
    };
    for (const Row &row : rows) {
        CAPTURE(int(row.rotation));
        const auto opts = options(Fit::Contain, row.rotation, {0, 0, 32, 128});
        const double zoom =
            row.rotation == Rotation::None || row.rotation == Rotation::Half ? 16 : 4;
        const Framing start{std::min(zoom, pictureframing::MaxZoom), 0.5, 0.5};
        const Framing moved = pictureframing::moved(picture, opts, start, 8, 0);
        const pictureframing::Framed before = pictureframing::framed(picture, opts, start);
        CAPTURE(text(before.crop));
        CHECK((moved.centreX - 0.5) * picture.width == doctest::Approx(row.x).epsilon(0.02));
        CHECK((moved.centreY - 0.5) * picture.height == doctest::Approx(row.y).epsilon(0.02));
    }
}

TEST_CASE("the layouts share the screen without overlap, and the automatic one keeps the picture")
{
    CHECK(screenlayout::automatic(true, true).value == "picture-above-text");
    CHECK(screenlayout::automatic(true, false).value == "picture");
    CHECK(screenlayout::automatic(false, true).value == "text");
    for (const screenlayout::Layout &layout : screenlayout::layouts()) {
        CAPTURE(layout.value);
        if (!layout.pictureArea || !layout.textArea)
            continue;
        CHECK(geometry::intersected(*layout.pictureArea, *layout.textArea).width == 0);
        CHECK(layout.pictureArea->height + layout.textArea->height == bootscreen::DisplayRows);
    }
}
