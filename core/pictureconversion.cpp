#include "pictureconversion.h"

#include "bootscreenformat.h"
#include "displayarea.h"

#include <algorithm>
#include <cmath>

namespace pictureconversion {

using bootscreen::DisplayColumns;
using bootscreen::DisplayRows;
using geometry::Rect;
using geometry::Size;

namespace {

struct Point
{
    int x;
    int y;
};

// A fully transparent pixel looks the same whatever its colour channels hold.
std::array<std::uint8_t, 4> seenColour(const std::uint8_t *rgba)
{
    if (rgba[3] == 0)
        return {0, 0, 0, 0};
    return {rgba[0], rgba[1], rgba[2], rgba[3]};
}

// Rec. 601 luminance, in thousandths so that white is exactly 255000.
int luminance(const std::uint8_t *rgba, int backgroundLevel)
{
    const int alpha = rgba[3];
    const int level = 299 * rgba[0] + 587 * rgba[1] + 114 * rgba[2];
    if (alpha == 255)
        return level;
    return (level * alpha + backgroundLevel * 1000 * (255 - alpha)) / 255;
}

// Where source pixel (x, y) of a picture of `size` lands after `turns` clockwise quarter turns.
Point turned(int x, int y, const Size &size, int turns)
{
    switch (turns) {
    case 1:
        return {size.height - 1 - y, x};
    case 2:
        return {size.width - 1 - x, size.height - 1 - y};
    case 3:
        return {y, size.width - 1 - x};
    default:
        return {x, y};
    }
}

} // namespace

// How the pixels along one axis of the turned picture share out over the display pixels:
// source pixel i covers display interval [origin + i * placed / length, ... + placed / length),
// and gives each display pixel it overlaps the overlap as weight. A display pixel inside the
// placement is covered exactly once, so its weights add up to 1 and the weighted sum is the
// average over its source area.
struct GreyLevelAccumulator::Shares
{
    struct Share
    {
        int target;
        double weight;
    };

    Shares(int length, int origin, int placed, int displayLength) : first(size_t(length) + 1)
    {
        const double step = double(placed) / length;
        for (int i = 0; i < length; ++i) {
            first[size_t(i)] = shares.size();
            const double start = origin + i * step;
            const double end = start + step;
            const int firstTarget = std::max(0, int(std::floor(start)));
            const int lastTarget = std::min(displayLength - 1, int(std::ceil(end)) - 1);
            for (int t = firstTarget; t <= lastTarget; ++t) {
                const double overlap = std::min(end, t + 1.0) - std::max(start, double(t));
                if (overlap > 0)
                    shares.push_back({t, overlap});
            }
        }
        first[size_t(length)] = shares.size();
    }

    const Share *begin(int i) const { return shares.data() + first[size_t(i)]; }
    const Share *end(int i) const { return shares.data() + first[size_t(i + 1)]; }

    std::vector<size_t> first;
    std::vector<Share> shares;
};

GreyLevelAccumulator::GreyLevelAccumulator(const Size &pictureSize, const Options &options,
                                           const Size &geometrySize)
    : pictureSize(pictureSize), backgroundLevel(options.background == Background::White ? 255 : 0),
      turns(0), sums(size_t(DisplayColumns * DisplayRows), 0.0)
{
    if (!pictureSize.isValid())
        return;
    const Size fullSize = geometrySize.isValid() ? geometrySize : pictureSize;
    turns = picturefit::quarterTurns(options.rotation, fullSize,
                                     {options.area.width, options.area.height});
    const Rect placed =
        picturefit::placement(picturefit::turnedSize(fullSize, turns), options.fit, options.area);
    const Size turnedPicture = picturefit::turnedSize(pictureSize, turns);
    across =
        std::make_unique<Shares>(turnedPicture.width, placed.left, placed.width, DisplayColumns);
    down = std::make_unique<Shares>(turnedPicture.height, placed.top, placed.height, DisplayRows);
    covered = geometry::intersected(geometry::intersected(placed, options.area),
                                    {0, 0, DisplayColumns, DisplayRows});
}

GreyLevelAccumulator::~GreyLevelAccumulator() = default;

void GreyLevelAccumulator::addRows(const RgbaView &rows, int firstRow)
{
    if (!across)
        return;
    for (int row = 0; row < rows.height; ++row) {
        const int y = firstRow + row;
        const std::uint8_t *line = rows.row(row);
        for (int x = 0; x < pictureSize.width; ++x) {
            const Point at = turned(x, y, pictureSize, turns);
            const Shares::Share *downBegin = down->begin(at.y);
            const Shares::Share *downEnd = down->end(at.y);
            if (downBegin == downEnd)
                continue;
            const Shares::Share *acrossEnd = across->end(at.x);
            const std::uint8_t *pixel = line + 4 * x;
            const int thousandths = luminance(pixel, backgroundLevel);
            tones.add((thousandths + 500) / 1000, pixel[3]);
            if (uniform) {
                if (!firstColour)
                    firstColour = seenColour(pixel);
                uniform = *firstColour == seenColour(pixel);
            }
            const double level = thousandths / 1000.0;
            for (const Shares::Share *a = across->begin(at.x); a != acrossEnd; ++a)
                for (const Shares::Share *d = downBegin; d != downEnd; ++d)
                    sums[size_t(d->target * DisplayColumns + a->target)] +=
                        level * a->weight * d->weight;
        }
    }
}

dithering::GreyLevels GreyLevelAccumulator::levels() const
{
    dithering::GreyLevels levels(size_t(DisplayColumns * DisplayRows), backgroundLevel);
    for (int y = covered.top; y <= covered.bottom(); ++y) {
        for (int x = covered.left; x <= covered.right(); ++x) {
            // Rounded to a millionth, so that a uniform area gives its level exactly.
            const size_t at = size_t(y * DisplayColumns + x);
            levels[at] = std::round(sums[at] * 1e6) / 1e6;
        }
    }
    return levels;
}

PictureLevels GreyLevelAccumulator::pictureLevels() const
{
    return {levels(), covered, tones.mainToneShare(), uniform};
}

PictureLevels pictureLevels(const RgbaView &picture, const Options &options,
                            const Size &geometrySize)
{
    if (picture.isNull())
        return GreyLevelAccumulator({}, options).pictureLevels();
    GreyLevelAccumulator accumulator(picture.size(), options, geometrySize);
    accumulator.addRows(picture, 0);
    return accumulator.pictureLevels();
}

Conversion convertLevels(const PictureLevels &levels, const Options &options)
{
    dithering::GreyLevels toned = levels.levels;
    tone::adjust(toned, levels.covered, options.tone);
    const autodither::Choice choice = autodither::choose(
        toned, levels.covered, levels.mainToneShare, options.dither, options.threshold);
    Conversion conversion;
    const geometry::Rect area = geometry::intersected(options.area, displayarea::WholeDisplay);
    conversion.picture = displayarea::composed(
        {}, dithering::dither(toned, choice.method, choice.threshold, area), area, options.invert);
    conversion.dither = choice.method;
    conversion.threshold = choice.threshold;
    const int lit = conversion.picture.litCount();
    conversion.blank = !levels.uniform && (lit == 0 || lit == area.width * area.height);
    return conversion;
}

} // namespace pictureconversion
