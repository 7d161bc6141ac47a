#pragma once

#include "geometry.h"

#include <cstddef>
#include <cstdint>

// A picture handed to the core: rows of 8-bit red, green, blue and alpha, alpha straight (not
// premultiplied), as decoders and the browser's canvas give them. The core never owns it.
struct RgbaView
{
    const std::uint8_t *pixels = nullptr; // the first row
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0; // bytes from one row to the next, at least 4 * width

    geometry::Size size() const { return {width, height}; }
    bool isNull() const { return pixels == nullptr || width <= 0 || height <= 0; }
    const std::uint8_t *row(int y) const { return pixels + y * stride; }
};
