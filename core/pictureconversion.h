#pragma once

#include "autodither.h"
#include "displaypicture.h"
#include "dithering.h"
#include "geometry.h"
#include "picturefit.h"
#include "rgbaimage.h"
#include "tone.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Any picture (a logo, a photo) turned into the 32 x 128 display, or an area of it: turned,
// fitted, reduced to grey levels by averaging the source area each display pixel covers, toned,
// then dithered.
namespace pictureconversion {

enum class Background { Black, White };

struct Options
{
    // The part of the picture converted, in the pixels of the picture at full size as it is
    // upright, before the rotation; nothing: all of it. The rest of the options treat that part
    // as the whole picture.
    std::optional<geometry::Rect> crop;
    picturefit::Fit fit = picturefit::Fit::Contain;
    picturefit::Rotation rotation = picturefit::Rotation::None;
    std::optional<dithering::Method> dither; // nothing: chosen from the picture
    std::optional<int> threshold;            // nothing: chosen from the picture
    tone::Adjustments tone;
    bool invert = false; // swaps lit and dark over the whole area, margins too
    Background background = Background::Black; // behind transparent pixels, and the margins
    // Where on the display the picture is fitted and dithered; the rest of the display is dark.
    geometry::Rect area{0, 0, bootscreen::DisplayColumns, bootscreen::DisplayRows};
};

// A picture reduced to the display, with what the automatic choices look at.
struct PictureLevels
{
    dithering::GreyLevels levels;
    // Each display pixel's average blue and red less its grey level (Rec. 601), in grey levels:
    // its colour, which tells regions of the same grey apart.
    dithering::GreyLevels blueDifference;
    dithering::GreyLevels redDifference;
    geometry::Rect covered;     // the placed picture in the area, without the margins
    double mainToneShare = 1.0; // see autodither::SourceTones
    // See autodither::SourceTones; 0 for a picture reduced less than GrainScale times, whose
    // grain the display still shows and whose edges would count as grain.
    double textureShare = 0.0;
    bool uniform = true; // every pixel of the picture has the same colour
};

// What a conversion gave, and the method and threshold that give it again.
struct Conversion
{
    bootscreen::DisplayPicture picture;
    dithering::Method dither = dithering::Method::FloydSteinberg;
    int threshold = 128;
    bool blank = false; // the area all dark or all lit, from a picture not of one flat colour
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

    // The levels with the placement and what the picture's own pixels showed.
    PictureLevels pictureLevels() const;

private:
    struct Shares;
    geometry::Size pictureSize;
    int backgroundLevel;
    // A quarter or three-quarter turn: the picture's rows run across the display, its columns down.
    bool sideways = false;
    // The picture's grain counts: it is reduced enough for the display to average it away.
    bool grainHidden = false;
    // The columns and rows handed in that hold some of the converted part: [begin, end).
    struct Range
    {
        int begin = 0;
        int end = 0;
    };
    Range partColumns;
    Range partRows;
    geometry::Rect covered;
    std::unique_ptr<Shares> across;
    std::unique_ptr<Shares> down;
    std::vector<double> sums;
    std::vector<double> blueSums;
    std::vector<double> redSums;
    autodither::SourceTones tones;
    std::optional<std::array<std::uint8_t, 4>> firstColour;
    bool uniform = true;
};

// How many of the pixels handed in, along a row, a display pixel averages at least for the
// picture's grain to be measured.
constexpr double GrainScale = 4.0;

// The part of a picture of `fullSize` that the options convert: the crop where it lies on the
// picture (front ends refuse one that does not), else all of it.
geometry::Rect convertedPart(const Options &options, const geometry::Size &fullSize);

PictureLevels pictureLevels(const RgbaView &picture, const Options &options,
                            const geometry::Size &geometrySize = {});

// Lit and dark pixels for the picture in the area, the rest of the display dark: toned, then
// dithered as the options ask or as chosen from the picture, then inverted when asked. The
// options' fit, rotation, background and area have already placed it.
Conversion convertLevels(const PictureLevels &levels, const Options &options);

} // namespace pictureconversion
