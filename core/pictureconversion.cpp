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

} // namespace

// How the pixels along one axis of the picture share out over the display pixels along the
// axis they land on. The converted part of the axis, a span of source pixels (in fractions of
// them where a picture decoded at a reduced size is cropped), is laid over
// [origin, origin + placed): source pixel i covers its own piece of the span, counted from the
// far end when the turn reverses the axis, and gives each display pixel it overlaps the overlap
// as weight. A display pixel inside the placement is covered exactly once, so its weights add
// up to 1 and the weighted sum is the average over its source area.
struct GreyLevelAccumulator::Shares
{
    struct Share
    {
        int target;
        double weight;
    };

    struct Span
    {
        double start;
        double length;
    };

    Shares(int length, const Span &span, bool reversed, int origin, int placed, int displayLength)
        : first(size_t(length) + 1)
    {
        const double step = placed / span.length;
        const double spanEnd = span.start + span.length;
        for (int i = 0; i < length; ++i) {
            first[size_t(i)] = shares.size();
            const double from = std::max(double(i), span.start);
            const double to = std::min(i + 1.0, spanEnd);
            if (to <= from)
                continue;
            const double start = origin + (reversed ? spanEnd - to : from - span.start) * step;
            const double end = start + (to - from) * step;
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
      sums(size_t(DisplayColumns * DisplayRows), 0.0),
      blueSums(size_t(DisplayColumns * DisplayRows), 0.0),
      redSums(size_t(DisplayColumns * DisplayRows), 0.0)
{
    if (!pictureSize.isValid())
        return;
    const Size fullSize = geometrySize.isValid() ? geometrySize : pictureSize;
    const Rect part = convertedPart(options, fullSize);
    if (part.width <= 0 || part.height <= 0)
        return;
    const Size partSize{part.width, part.height};
    const int turns = picturefit::quarterTurns(options.rotation, partSize,
                                               {options.area.width, options.area.height});
    const Rect placed =
        picturefit::placement(picturefit::turnedSize(partSize, turns), options.fit, options.area);
    // The part in the pixels handed in: a picture decoded at a reduced size crops the region the
    // full picture would. Multiplied before dividing, so that the whole picture spans exactly
    // its own pixels.
    const Shares::Span columns{double(part.left) * pictureSize.width / fullSize.width,
                               double(part.width) * pictureSize.width / fullSize.width};
    const Shares::Span rows{double(part.top) * pictureSize.height / fullSize.height,
                            double(part.height) * pictureSize.height / fullSize.height};
    const auto rangeOf = [](const Shares::Span &span, int length) {
        return Range{std::max(0, int(std::floor(span.start))),
                     std::min(length, int(std::ceil(span.start + span.length)))};
    };
    partColumns = rangeOf(columns, pictureSize.width);
    partRows = rangeOf(rows, pictureSize.height);
    // Turned clockwise, the picture's rows run across the display after a quarter or three
    // quarters; an axis runs backwards where the turn sends its start to the display's far side.
    sideways = turns % 2 == 1;
    across = std::make_unique<Shares>(sideways ? pictureSize.height : pictureSize.width,
                                      sideways ? rows : columns, turns == 1 || turns == 2,
                                      placed.left, placed.width, DisplayColumns);
    down = std::make_unique<Shares>(sideways ? pictureSize.width : pictureSize.height,
                                    sideways ? columns : rows, turns == 2 || turns == 3, placed.top,
                                    placed.height, DisplayRows);
    grainHidden = columns.length >= GrainScale * (sideways ? placed.height : placed.width);
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
        if (y < partRows.begin || y >= partRows.end)
            continue;
        const std::uint8_t *line = rows.row(row);
        tones.startRow();
        for (int x = partColumns.begin; x < partColumns.end; ++x) {
            const int acrossAt = sideways ? y : x;
            const int downAt = sideways ? x : y;
            const Shares::Share *downBegin = down->begin(downAt);
            const Shares::Share *downEnd = down->end(downAt);
            if (downBegin == downEnd)
                continue;
            const Shares::Share *acrossEnd = across->end(acrossAt);
            const std::uint8_t *pixel = line + 4 * x;
            const int thousandths = luminance(pixel, backgroundLevel);
            tones.add((thousandths + 500) / 1000, pixel[3]);
            if (uniform) {
                if (!firstColour)
                    firstColour = seenColour(pixel);
                uniform = *firstColour == seenColour(pixel);
            }
            const double level = thousandths / 1000.0;
            // Over a grey background the colour differences fade with the opacity.
            const int own = 299 * pixel[0] + 587 * pixel[1] + 114 * pixel[2];
            const double opacity = pixel[3] / (255.0 * 1000.0);
            const double blue = (1000 * pixel[2] - own) * opacity;
            const double red = (1000 * pixel[0] - own) * opacity;
            for (const Shares::Share *a = across->begin(acrossAt); a != acrossEnd; ++a) {
                for (const Shares::Share *d = downBegin; d != downEnd; ++d) {
                    const size_t at = size_t(d->target * DisplayColumns + a->target);
                    const double weight = a->weight * d->weight;
                    sums[at] += level * weight;
                    blueSums[at] += blue * weight;
                    redSums[at] += red * weight;
                }
            }
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
    PictureLevels result{
        levels(), {}, {}, covered, tones.mainToneShare(), grainHidden ? tones.textureShare() : 0.0,
        uniform};
    result.blueDifference.assign(size_t(DisplayColumns * DisplayRows), 0.0);
    result.redDifference.assign(size_t(DisplayColumns * DisplayRows), 0.0);
    for (int y = covered.top; y <= covered.bottom(); ++y) {
        for (int x = covered.left; x <= covered.right(); ++x) {
            const size_t at = size_t(y * DisplayColumns + x);
            result.blueDifference[at] = blueSums[at];
            result.redDifference[at] = redSums[at];
        }
    }
    return result;
}

Rect convertedPart(const Options &options, const Size &fullSize)
{
    const Rect whole{0, 0, fullSize.width, fullSize.height};
    return options.crop ? geometry::intersected(*options.crop, whole) : whole;
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
    const regions::Pixels source =
        levels.blueDifference.size() == levels.levels.size() &&
                levels.redDifference.size() == levels.levels.size()
            ? regions::Pixels{&levels.levels, &levels.blueDifference, &levels.redDifference}
            : regions::Pixels{&levels.levels};
    const autodither::Choice choice =
        autodither::choose(toned, levels.covered, {levels.mainToneShare, levels.textureShare},
                           source, options.dither, options.threshold);
    Conversion conversion;
    const geometry::Rect area = geometry::intersected(options.area, displayarea::WholeDisplay);
    conversion.picture = displayarea::composed(
        {}, dithering::dither(toned, choice.method, choice.threshold, area, source), area,
        options.invert);
    conversion.dither = choice.method;
    conversion.threshold = choice.threshold;
    const int lit = conversion.picture.litCount();
    conversion.blank = !levels.uniform && (lit == 0 || lit == area.width * area.height);
    return conversion;
}

} // namespace pictureconversion
