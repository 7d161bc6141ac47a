#include "picturefit.h"

#include "canvasgeometry.h"

#include <algorithm>
#include <cmath>

namespace picturefit {

namespace {

constexpr int DisplayWidth = canvasgeometry::Columns;
constexpr int DisplayHeight = canvasgeometry::Rows;

int floorHalf(int value)
{
    return value >= 0 ? value / 2 : -((-value + 1) / 2);
}

QRect centred(int width, int height)
{
    return {floorHalf(DisplayWidth - width), floorHalf(DisplayHeight - height), width, height};
}

int scaledLength(int length, double scale, int atLeast)
{
    return std::max(atLeast, int(std::lround(length * scale)));
}

} // namespace

int quarterTurns(Rotation rotation, const QSize &size)
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
        return size.width() > size.height() ? 1 : 0;
    }
    return 0;
}

QSize turnedSize(const QSize &size, int turns)
{
    return turns % 2 == 0 ? size : size.transposed();
}

QRect placement(const QSize &size, Fit fit)
{
    const double widthScale = double(DisplayWidth) / size.width();
    const double heightScale = double(DisplayHeight) / size.height();
    switch (fit) {
    case Fit::Contain: {
        const double scale = std::min(widthScale, heightScale);
        return centred(scaledLength(size.width(), scale, 1), scaledLength(size.height(), scale, 1));
    }
    case Fit::Cover: {
        const double scale = std::max(widthScale, heightScale);
        return centred(scaledLength(size.width(), scale, DisplayWidth),
                       scaledLength(size.height(), scale, DisplayHeight));
    }
    case Fit::Stretch:
        return {0, 0, DisplayWidth, DisplayHeight};
    case Fit::None:
        return centred(size.width(), size.height());
    }
    return {};
}

} // namespace picturefit
