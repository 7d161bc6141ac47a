#include "picturefit.h"

#include "bootscreenformat.h"

#include <algorithm>
#include <cmath>

namespace picturefit {

namespace {

using bootscreen::DisplayColumns;
using bootscreen::DisplayRows;
using geometry::Rect;
using geometry::Size;

int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

Rect centred(int width, int height)
{
    return {floorHalf(DisplayColumns - width), floorHalf(DisplayRows - height), width, height};
}

int scaledLength(int length, double scale, int atLeast)
{
    return std::max(atLeast, int(std::lround(length * scale)));
}

} // namespace

int quarterTurns(Rotation rotation, const Size &size)
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
        return size.width > size.height ? 1 : 0;
    }
    return 0;
}

Size turnedSize(const Size &size, int turns)
{
    return turns % 2 == 0 ? size : size.transposed();
}

Rect placement(const Size &size, Fit fit)
{
    const double widthScale = double(DisplayColumns) / size.width;
    const double heightScale = double(DisplayRows) / size.height;
    switch (fit) {
    case Fit::Contain: {
        const double scale = std::min(widthScale, heightScale);
        return centred(scaledLength(size.width, scale, 1), scaledLength(size.height, scale, 1));
    }
    case Fit::Cover: {
        const double scale = std::max(widthScale, heightScale);
        return centred(scaledLength(size.width, scale, DisplayColumns),
                       scaledLength(size.height, scale, DisplayRows));
    }
    case Fit::Stretch:
        return {0, 0, DisplayColumns, DisplayRows};
    case Fit::None:
        return centred(size.width, size.height);
    }
    return {};
}

} // namespace picturefit
