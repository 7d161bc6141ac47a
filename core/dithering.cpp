#include "dithering.h"

#include "bootscreenformat.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace dithering {

namespace {

using bootscreen::DisplayColumns;
using bootscreen::DisplayRows;

struct Share
{
    int dx; // along the direction of the scan
    int dy;
    double weight;
};

// Diffuses each pixel's quantisation error to the neighbours not yet visited. Rows run in
// alternating directions, which keeps the patterns of flat areas from drifting one way.
template <size_t N>
bootscreen::DisplayPicture diffuse(GreyLevels levels, int threshold, const Share (&shares)[N],
                                   const geometry::Rect &area)
{
    bootscreen::DisplayPicture picture;
    for (int y = area.top; y <= area.bottom(); ++y) {
        const bool leftToRight = (y - area.top) % 2 == 0;
        for (int step = 0; step < area.width; ++step) {
            const int x = leftToRight ? area.left + step : area.right() - step;
            const double level = levels[size_t(y * DisplayColumns + x)];
            const bool lit = level >= threshold;
            picture.setLit(x, y, lit);
            const double error = level - (lit ? 255.0 : 0.0);
            for (const Share &share : shares) {
                const int nx = x + (leftToRight ? share.dx : -share.dx);
                const int ny = y + share.dy;
                if (nx >= area.left && nx <= area.right() && ny <= area.bottom())
                    levels[size_t(ny * DisplayColumns + nx)] += error * share.weight;
            }
        }
    }
    return picture;
}

constexpr Share FloydSteinbergShares[] = {
    {1, 0, 7.0 / 16}, {-1, 1, 3.0 / 16}, {0, 1, 5.0 / 16}, {1, 1, 1.0 / 16}};

// Atkinson keeps a quarter of the error back, which gives crisper but less faithful greys.
constexpr Share AtkinsonShares[] = {{1, 0, 1.0 / 8}, {2, 0, 1.0 / 8}, {-1, 1, 1.0 / 8},
                                    {0, 1, 1.0 / 8}, {1, 1, 1.0 / 8}, {0, 2, 1.0 / 8}};

// The classic recursive 8 x 8 ordered-dither matrix, values 0-63.
constexpr int BayerMatrix[8][8] = {
    {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

bootscreen::DisplayPicture ordered(const GreyLevels &levels, int threshold,
                                   const geometry::Rect &area)
{
    bootscreen::DisplayPicture picture;
    for (int y = area.top; y <= area.bottom(); ++y) {
        for (int x = area.left; x <= area.right(); ++x) {
            // Thresholds 2, 6, ..., 254 around 128: a flat grey g lights about g / 256 of
            // the pixels, black none and white all.
            const double cell =
                (BayerMatrix[(y - area.top) % 8][(x - area.left) % 8] + 0.5) * 4.0 - 128.0;
            picture.setLit(x, y, levels[size_t(y * DisplayColumns + x)] >= threshold + cell);
        }
    }
    return picture;
}

bootscreen::DisplayPicture solidRegions(const GreyLevels &levels, int threshold,
                                        const geometry::Rect &area, const regions::Pixels &source)
{
    const regions::Pixels pixels = source.level ? source : regions::Pixels{&levels};
    return regions::render(regions::segment(pixels, area, regions::Purpose::Drawing), levels,
                           threshold, area);
}

// The mean of the levels within `radius` along one axis (across the rows, or down the columns)
// of each pixel of the area; a square's mean is the mean down of the mean across.
GreyLevels meanAlong(const GreyLevels &levels, const geometry::Rect &area, int radius, bool down)
{
    GreyLevels mean(levels.size(), 0.0);
    const int stride = down ? DisplayColumns : 1;
    for (int y = area.top; y <= area.bottom(); ++y) {
        for (int x = area.left; x <= area.right(); ++x) {
            const int at = down ? y : x;
            const int first = std::max(down ? area.top : area.left, at - radius);
            const int last = std::min(down ? area.bottom() : area.right(), at + radius);
            const size_t here = size_t(y * DisplayColumns + x);
            double sum = 0;
            for (int i = first; i <= last; ++i)
                sum += levels[size_t(std::ptrdiff_t(here) + std::ptrdiff_t(i - at) * stride)];
            mean[here] = sum / (last - first + 1);
        }
    }
    return mean;
}

// Structure: the neighbourhood over which local contrast is measured, how much the difference
// from it is raised, the step between neighbours that is an edge no error crosses, and the part
// of the error passed on. Judged by eye on photos at the display's size.
constexpr int NeighbourhoodRadius = 4;
constexpr double ContrastGain = 1.5;
constexpr double EdgeStep = 48.0;
// Letting go of more of the error clips the dark parts of a photo to black (a level below
// 128 x (1 - KeptError) never lights a pixel), which loses the grass under a sky.
constexpr double KeptError = 0.78;

// Photos: the difference from the neighbourhood is raised, so that a subject's shapes stand
// out of their surroundings as larger light and dark regions; the error then spreads only to
// neighbours on the same side of an edge of the picture, which keeps the edges sharp, and part
// of it is let go, which leaves fewer stray dots in the flat parts.
bootscreen::DisplayPicture structured(const GreyLevels &original, int threshold,
                                      const geometry::Rect &area)
{
    const GreyLevels mean = meanAlong(meanAlong(original, area, NeighbourhoodRadius, false), area,
                                      NeighbourhoodRadius, true);
    GreyLevels levels = original;
    for (int y = area.top; y <= area.bottom(); ++y) {
        for (int x = area.left; x <= area.right(); ++x) {
            const size_t at = size_t(y * DisplayColumns + x);
            levels[at] =
                std::clamp(original[at] + ContrastGain * (original[at] - mean[at]), 0.0, 255.0);
        }
    }
    const GreyLevels edges = levels;
    bootscreen::DisplayPicture picture;
    for (int y = area.top; y <= area.bottom(); ++y) {
        const bool leftToRight = (y - area.top) % 2 == 0;
        for (int step = 0; step < area.width; ++step) {
            const int x = leftToRight ? area.left + step : area.right() - step;
            const size_t at = size_t(y * DisplayColumns + x);
            const double level = levels[at];
            const bool lit = level >= threshold;
            picture.setLit(x, y, lit);
            const double error = (level - (lit ? 255.0 : 0.0)) * KeptError;
            struct Target
            {
                size_t at;
                double weight;
            } targets[4];
            int count = 0;
            double weights = 0;
            for (const Share &share : FloydSteinbergShares) {
                const int nx = x + (leftToRight ? share.dx : -share.dx);
                const int ny = y + share.dy;
                if (nx < area.left || nx > area.right() || ny > area.bottom())
                    continue;
                if (std::abs(edges[size_t(ny * DisplayColumns + nx)] - edges[at]) >= EdgeStep)
                    continue;
                targets[count++] = {size_t(ny * DisplayColumns + nx), share.weight};
                weights += share.weight;
            }
            for (int i = 0; i < count; ++i)
                levels[targets[i].at] += error * targets[i].weight / weights;
        }
    }
    return picture;
}

} // namespace

bootscreen::DisplayPicture dither(const GreyLevels &levels, Method method, int threshold,
                                  const geometry::Rect &area, const regions::Pixels &source)
{
    assert(levels.size() == size_t(DisplayColumns * DisplayRows));
    const geometry::Rect inside = geometry::intersected(area, {0, 0, DisplayColumns, DisplayRows});
    switch (method) {
    case Method::FloydSteinberg:
        return diffuse(levels, threshold, FloydSteinbergShares, inside);
    case Method::Atkinson:
        return diffuse(levels, threshold, AtkinsonShares, inside);
    case Method::Bayer:
        return ordered(levels, threshold, inside);
    case Method::Regions:
        return solidRegions(levels, threshold, inside, source);
    case Method::Structure:
        return structured(levels, threshold, inside);
    case Method::None:
        break;
    }
    bootscreen::DisplayPicture picture;
    for (int y = inside.top; y <= inside.bottom(); ++y)
        for (int x = inside.left; x <= inside.right(); ++x)
            picture.setLit(x, y, levels[size_t(y * DisplayColumns + x)] >= threshold);
    return picture;
}

} // namespace dithering
