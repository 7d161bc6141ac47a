#pragma once

#include "bootscreenformat.h"
#include "displaypicture.h"
#include "geometry.h"
#include "regions.h"

#include <vector>

// Turning grey levels into lit and dark display pixels.
namespace dithering {

enum class Method {
    FloydSteinberg, // error diffusion to four neighbours, serpentine
    Atkinson,       // error diffusion of three quarters of the error to six neighbours
    Bayer,          // ordered 8 x 8 threshold matrix
    None,           // a pixel is lit when its level is at least the threshold
    Regions,        // each region of near colour solid, lines where touching regions meet
    Structure,      // local contrast, then error diffusion that stops at the picture's edges
};

// Grey levels 0-255 of the 32 x 128 display, row by row.
using GreyLevels = std::vector<double>;

// Lit and dark pixels for the levels. The threshold (0-255, 128 by default) is where a level
// starts to count as lit; the error diffusion methods keep the mean brightness, and Bayer
// spreads its matrix around the threshold. Only `area` is dithered, as if it were the whole
// display: no error crosses its edges, and the patterns start at its top left corner. The rest
// of the display is dark. `source` is the picture's colour before the tone step, which Regions
// divides into regions (by `levels` alone when it has none).
bootscreen::DisplayPicture dither(const GreyLevels &levels, Method method, int threshold,
                                  const geometry::Rect &area = {0, 0, bootscreen::DisplayColumns,
                                                                bootscreen::DisplayRows},
                                  const regions::Pixels &source = {});

} // namespace dithering
