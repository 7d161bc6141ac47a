#pragma once

#include "displaypicture.h"
#include "dithering.h"
#include "geometry.h"
#include "picturefit.h"
#include "rgbaimage.h"

#include <cstddef>
#include <memory>
#include <vector>

// Any picture (a logo, a photo) turned into the 32 x 128 display, or an area of it: turned,
// fitted, reduced to grey levels by averaging the source area each display pixel covers, then
// dithered.
namespace pictureconversion {

enum class Background { Black, White };

struct Options
{
    picturefit::Fit fit = picturefit::Fit::Contain;
    picturefit::Rotation rotation = picturefit::Rotation::None;
    dithering::Method dither = dithering::Method::FloydSteinberg;
    int threshold = 128;
    bool invert = false; // swaps lit and dark over the whole area, margins too
    Background background = Background::Black; // behind transparent pixels, and the margins
    // Where on the display the picture is fitted and dithered; the rest of the display is dark.
    geometry::Rect area{0, 0, bootscreen::DisplayColumns, bootscreen::DisplayRows};
};

// The grey levels (0-255, Rec. 601 luminance) of a picture that arrives in bands of rows, so
// that a large picture is never held converted whole.
class GreyLevelAccumulator
{
public:
    // `pictureSize` is the size of the rows handed in; `geometrySize`, when valid, the size the
    // picture has at full resolution: a picture decoded at a reduced size then lands exactly
    // where the full one would.
    GreyLevelAccumulator(const geometry::Size &pictureSize, const Options &options,
                         const geometry::Size &geometrySize = {});
    ~GreyLevelAccumulator();
    GreyLevelAccumulator(const GreyLevelAccumulator &) = delete;
    GreyLevelAccumulator &operator=(const GreyLevelAccumulator &) = delete;

    // Adds `rows` (as wide as the picture), the first of which is row `firstRow` of it.
    void addRows(const RgbaView &rows, int firstRow);

    // Every display pixel's level: the placed picture's average, the background elsewhere.
    dithering::GreyLevels levels() const;

private:
    struct Shares;
    geometry::Size pictureSize;
    int backgroundLevel;
    int turns;
    geometry::Rect covered;
    std::unique_ptr<Shares> across;
    std::unique_ptr<Shares> down;
    std::vector<double> sums;
};

dithering::GreyLevels greyLevels(const RgbaView &picture, const Options &options,
                                 const geometry::Size &geometrySize = {});

// Lit and dark pixels for grey levels, as the options ask: within the area, the rest dark.
bootscreen::DisplayPicture convertLevels(const dithering::GreyLevels &levels,
                                         const Options &options);

// The display picture (see GreyLevelAccumulator for `geometrySize`).
bootscreen::DisplayPicture convertPicture(const RgbaView &picture, const Options &options,
                                          const geometry::Size &geometrySize = {});

} // namespace pictureconversion
