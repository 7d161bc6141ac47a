#include "pictureframing.h"

#include <algorithm>
#include <cmath>

namespace pictureframing {

using geometry::Rect;
using geometry::Size;
using picturefit::Fit;

namespace {

struct Extent
{
    double width;
    double height;
};

// How the picture's axes lie on the display: turned clockwise by `turns` quarters.
int turnsFor(const Size &fullSize, const pictureconversion::Options &options)
{
    return picturefit::quarterTurns(options.rotation, fullSize,
                                    {options.area.width, options.area.height});
}

// The area as the upright picture sees it: across and down swap after a quarter turn.
Extent roomFor(const pictureconversion::Options &options, int turns)
{
    const Extent area{double(options.area.width), double(options.area.height)};
    return turns % 2 == 1 ? Extent{area.height, area.width} : area;
}

// The part of the upright picture, in its pixels, that the area shows at 1x: larger than the
// picture where the fit leaves margins.
Extent viewAtOne(const Size &fullSize, Fit fit, const Extent &room)
{
    const double width = fullSize.width;
    const double height = fullSize.height;
    switch (fit) {
    case Fit::Contain: {
        const double scale = std::min(room.width / width, room.height / height);
        return {room.width / scale, room.height / scale};
    }
    case Fit::Cover: {
        const double scale = std::max(room.width / width, room.height / height);
        return {room.width / scale, room.height / scale};
    }
    case Fit::Stretch:
        return {width, height};
    case Fit::None:
        return room;
    }
    return {width, height};
}

double clamped(double value, double low, double high)
{
    return std::min(std::max(value, low), high);
}

// A centre, in pixels, that keeps a view of `view` pixels on a picture of `length`; a view
// longer than the picture stays centred on it.
double heldCentre(double centre, double view, double length)
{
    if (view >= length)
        return length / 2;
    return clamped(centre, view / 2, length - view / 2);
}

} // namespace

Framed framed(const Size &fullSize, const pictureconversion::Options &options,
              const Framing &framing)
{
    Framed result;
    if (!fullSize.isValid() || options.area.width <= 0 || options.area.height <= 0)
        return result;
    const double zoom =
        clamped(std::isfinite(framing.zoom) ? framing.zoom : MinZoom, MinZoom, MaxZoom);
    const int turns = turnsFor(fullSize, options);
    const Extent one = viewAtOne(fullSize, options.fit, roomFor(options, turns));
    const Extent view{one.width / zoom, one.height / zoom};
    const double width = fullSize.width;
    const double height = fullSize.height;
    const double centreX = heldCentre(
        (std::isfinite(framing.centreX) ? framing.centreX : 0.5) * width, view.width, width);
    const double centreY = heldCentre(
        (std::isfinite(framing.centreY) ? framing.centreY : 0.5) * height, view.height, height);
    result.framing = {zoom, centreX / width, centreY / height};

    // Whole pixels: the edges rounded, at least one pixel, inside the picture.
    const auto span = [](double centre, double view, int length) {
        int begin = int(std::lround(centre - view / 2));
        int end = int(std::lround(centre + view / 2));
        begin = std::max(0, std::min(begin, length - 1));
        end = std::max(begin + 1, std::min(end, length));
        return std::pair<int, int>{begin, end};
    };
    const auto [left, right] = span(centreX, view.width, fullSize.width);
    const auto [top, bottom] = span(centreY, view.height, fullSize.height);
    // Unzoomed and centred, the fit alone shows the view: no crop, so the result is the fit's
    // own to the pixel.
    const bool asFitted = zoom == MinZoom && centreX == width / 2 && centreY == height / 2;
    const Rect whole{0, 0, fullSize.width, fullSize.height};
    const Rect part = asFitted ? whole : Rect{left, top, right - left, bottom - top};
    if (part != whole)
        result.crop = part;

    const Size partSize{part.width, part.height};
    result.turns = picturefit::quarterTurns(options.rotation, partSize,
                                            {options.area.width, options.area.height});
    result.placed = picturefit::placement(picturefit::turnedSize(partSize, result.turns),
                                          options.fit, options.area);
    return result;
}

Framing moved(const Size &fullSize, const pictureconversion::Options &options,
              const Framing &framing, double columns, double rows)
{
    const Framed now = framed(fullSize, options, framing);
    if (!now.placed.width || !now.placed.height || !fullSize.isValid())
        return now.framing;
    const Rect part = now.crop.value_or(Rect{0, 0, fullSize.width, fullSize.height});
    // The move in the turned part's pixels, then back to the upright picture's axes: a
    // clockwise turn sends the picture's x down the display and its y right to left.
    const double across = columns * (now.turns % 2 ? part.height : part.width) / now.placed.width;
    const double down = rows * (now.turns % 2 ? part.width : part.height) / now.placed.height;
    double x = 0;
    double y = 0;
    switch (now.turns) {
    case 0:
        x = across, y = down;
        break;
    case 1:
        x = down, y = -across;
        break;
    case 2:
        x = -across, y = -down;
        break;
    default:
        x = -down, y = across;
        break;
    }
    Framing next = now.framing;
    next.centreX -= x / fullSize.width;
    next.centreY -= y / fullSize.height;
    return framed(fullSize, options, next).framing;
}

} // namespace pictureframing
