#include "picturefit.h"

#include <algorithm>
#include <cmath>

namespace picturefit {

namespace {

using geometry::Rect;
using geometry::Size;

int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

Rect centred(int width, int height, const Rect &area)
{
    return {area.left + floorHalf(area.width - width), area.top + floorHalf(area.height - height),
            width, height};
}

int scaledLength(int length, double scale, int atLeast)
{
    return std::max(atLeast, int(std::lround(length * scale)));
}

} // namespace

int quarterTurns(Rotation rotation, const Size &size, const Size &room)
{
    switch (rotation) {
    case Rotation::None:
        return 0;
    case Rotation::Quarter:
        return 1;
    case Rotation::Half:
        return 2;
    case Rotation::ThreeQuarters:
        return 3;
    case Rotation::Auto:
        return (size.width > size.height && room.width < room.height) ||
                       (size.width < size.height && room.width > room.height)
                   ? 1
                   : 0;
    }
    return 0;
}

Size turnedSize(const Size &size, int turns)
{
    return turns % 2 == 0 ? size : size.transposed();
}

Rect placement(const Size &size, Fit fit, const Rect &area)
{
    const double widthScale = double(area.width) / size.width;
    const double heightScale = double(area.height) / size.height;
    switch (fit) {
    case Fit::Contain: {
        const double scale = std::min(widthScale, heightScale);
        return centred(scaledLength(size.width, scale, 1), scaledLength(size.height, scale, 1),
                       area);
    }
    case Fit::Cover: {
        const double scale = std::max(widthScale, heightScale);
        return centred(scaledLength(size.width, scale, area.width),
                       scaledLength(size.height, scale, area.height), area);
    }
    case Fit::Stretch:
        return area;
    case Fit::None:
        return centred(size.width, size.height, area);
    }
    return {};
}

} // namespace picturefit
