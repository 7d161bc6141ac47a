#pragma once

#include "displaypicture.h"
#include "dithering.h"
#include "picturefit.h"

#include <QImage>
#include <QSize>

// Any picture (a logo, a photo) turned into the 32 x 128 display: turned, fitted, reduced to
// grey levels by averaging the source area each display pixel covers, then dithered.
namespace pictureconversion {

enum class Background { Black, White };

struct Options
{
    picturefit::Fit fit = picturefit::Fit::Contain;
    picturefit::Rotation rotation = picturefit::Rotation::None;
    dithering::Method dither = dithering::Method::FloydSteinberg;
    int threshold = 128;
    bool invert = false; // swaps lit and dark over the whole display, margins too
    Background background = Background::Black; // behind transparent pixels, and the margins
};

// The grey level (0-255, Rec. 601 luminance) of every display pixel.
dithering::GreyLevels greyLevels(const QImage &image, const Options &options,
                                 const QSize &geometrySize = {});

// The display picture. `geometrySize`, when given, is the size the picture has at full
// resolution: an image decoded at a reduced size then lands exactly where the full one would.
bootscreen::DisplayPicture convertPicture(const QImage &image, const Options &options,
                                          const QSize &geometrySize = {});

} // namespace pictureconversion
