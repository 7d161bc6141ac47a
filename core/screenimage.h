#pragma once

#include "displaypicture.h"

#include <cstdint>
#include <vector>

// The display picture as an ordinary picture, as every front end saves it beside the .tbs file:
// one pixel per display pixel, or a square of scale x scale, lit white and dark black.
namespace screenimage {

// Row `y` of the picture as opaque RGBA, 32 x scale pixels, into `row`; a large scale is made a
// row at a time rather than whole.
void rgbaRow(const bootscreen::DisplayPicture &picture, int scale, int y, std::uint8_t *row);

// All of its 128 x scale rows.
std::vector<std::uint8_t> rgba(const bootscreen::DisplayPicture &picture, int scale = 1);

// Whether a pixel of those rows is a lit one.
inline bool isLit(const std::uint8_t *pixel)
{
    return pixel[0] != 0;
}

} // namespace screenimage
