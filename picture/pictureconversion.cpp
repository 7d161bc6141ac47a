#include "pictureconversion.h"

#include "canvasgeometry.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pictureconversion {

namespace {

constexpr int Width = canvasgeometry::Columns;
constexpr int Height = canvasgeometry::Rows;

// Rows converted to 32-bit colour at a time: a large picture in another format is never
// converted whole.
constexpr int RowsPerChunk = 64;

// How the pixels along one axis of the turned picture share out over the display pixels:
// source pixel i covers display interval [origin + i * placed / length, ... + placed / length),
// and gives each display pixel it overlaps the overlap as weight. A display pixel inside the
// placement is covered exactly once, so its weights add up to 1 and the weighted sum is the
// average over its source area.
class AxisShares
{
public:
    struct Share
    {
        int target;
        double weight;
    };

    AxisShares(int length, int origin, int placed, int displayLength) : first(size_t(length) + 1)
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

private:
    std::vector<size_t> first;
    std::vector<Share> shares;
};

// Rec. 601 luminance, in thousandths so that white is exactly 255000.
int luminance(QRgb colour, int backgroundLevel)
{
    const int alpha = qAlpha(colour);
    const int level = 299 * qRed(colour) + 587 * qGreen(colour) + 114 * qBlue(colour);
    if (alpha == 255)
        return level;
    return (level * alpha + backgroundLevel * 1000 * (255 - alpha)) / 255;
}

// Where source pixel (x, y) of a picture of `size` lands after `turns` clockwise quarter turns.
QPoint turned(int x, int y, const QSize &size, int turns)
{
    switch (turns) {
    case 1:
        return {size.height() - 1 - y, x};
    case 2:
        return {size.width() - 1 - x, size.height() - 1 - y};
    case 3:
        return {y, size.width() - 1 - x};
    default:
        return {x, y};
    }
}

} // namespace

dithering::GreyLevels greyLevels(const QImage &image, const Options &options,
                                 const QSize &geometrySize)
{
    const int backgroundLevel = options.background == Background::White ? 255 : 0;
    dithering::GreyLevels levels(size_t(Width * Height), backgroundLevel);
    if (image.isNull())
        return levels;

    const QSize fullSize = geometrySize.isValid() ? geometrySize : image.size();
    const int turns = picturefit::quarterTurns(options.rotation, fullSize);
    const QRect placed =
        picturefit::placement(picturefit::turnedSize(fullSize, turns), options.fit);
    const QSize turnedImage = picturefit::turnedSize(image.size(), turns);
    const AxisShares across(turnedImage.width(), placed.left(), placed.width(), Width);
    const AxisShares down(turnedImage.height(), placed.top(), placed.height(), Height);

    // The placement's display pixels start from nothing and gather their source areas.
    const QRect covered = placed & QRect(0, 0, Width, Height);
    std::vector<double> sums(size_t(Width * Height), 0.0);
    for (int chunkTop = 0; chunkTop < image.height(); chunkTop += RowsPerChunk) {
        const int rows = std::min(RowsPerChunk, image.height() - chunkTop);
        const QImage chunk = image.format() == QImage::Format_ARGB32
                                 ? image
                                 : image.copy(0, chunkTop, image.width(), rows)
                                       .convertToFormat(QImage::Format_ARGB32);
        const int chunkOffset = image.format() == QImage::Format_ARGB32 ? chunkTop : 0;
        for (int y = chunkTop; y < chunkTop + rows; ++y) {
            const auto *line =
                reinterpret_cast<const QRgb *>(chunk.constScanLine(y - chunkTop + chunkOffset));
            for (int x = 0; x < image.width(); ++x) {
                const QPoint at = turned(x, y, image.size(), turns);
                const AxisShares::Share *acrossEnd = across.end(at.x());
                const AxisShares::Share *downBegin = down.begin(at.y());
                const AxisShares::Share *downEnd = down.end(at.y());
                if (downBegin == downEnd)
                    continue;
                const double level = luminance(line[x], backgroundLevel) / 1000.0;
                for (const AxisShares::Share *a = across.begin(at.x()); a != acrossEnd; ++a)
                    for (const AxisShares::Share *d = downBegin; d != downEnd; ++d)
                        sums[size_t(d->target * Width + a->target)] +=
                            level * a->weight * d->weight;
            }
        }
    }
    for (int y = covered.top(); y <= covered.bottom(); ++y) {
        for (int x = covered.left(); x <= covered.right(); ++x) {
            // Rounded to a millionth, so that a uniform area gives its level exactly.
            const size_t at = size_t(y * Width + x);
            levels[at] = std::round(sums[at] * 1e6) / 1e6;
        }
    }
    return levels;
}

bootscreen::DisplayPicture convertPicture(const QImage &image, const Options &options,
                                          const QSize &geometrySize)
{
    bootscreen::DisplayPicture picture = dithering::dither(greyLevels(image, options, geometrySize),
                                                           options.dither, options.threshold);
    if (options.invert) {
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                picture.setLit(x, y, !picture.isLit(x, y));
    }
    return picture;
}

} // namespace pictureconversion
