#pragma once

#include "bootscreenformat.h"
#include "displaypicture.h"
#include "geometry.h"

#include <vector>

// Turning grey levels into lit and dark display pixels.
namespace dithering {

enum class Method {
    FloydSteinberg, // error diffusion to four neighbours, serpentine
    Atkinson,       // error diffusion of three quarters of the error to six neighbours
    Bayer,          // ordered 8 x 8 threshold matrix
    None,           // a pixel is lit when its level is at least the threshold
};

// Grey levels 0-255 of the 32 x 128 display, row by row.
using GreyLevels = std::vector<double>;

// Lit and dark pixels for the levels. The threshold (0-255, 128 by default) is where a level
// starts to count as lit; the error diffusion methods keep the mean brightness, and Bayer
// spreads its matrix around the threshold. Only `area` is dithered, as if it were the whole
// display: no error crosses its edges, and the patterns start at its top left corner. The rest
// of the display is dark.
bootscreen::DisplayPicture dither(const GreyLevels &levels, Method method, int threshold,
                                  const geometry::Rect &area = {0, 0, bootscreen::DisplayColumns,
                                                                bootscreen::DisplayRows});

} // namespace dithering
