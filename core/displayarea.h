#pragma once

#include "displaypicture.h"
#include "geometry.h"

// A screen composed from parts: each part fills a rectangle of the display, the rest of the
// screen stays as it was.
namespace displayarea {

constexpr geometry::Rect WholeDisplay{0, 0, bootscreen::DisplayColumns, bootscreen::DisplayRows};

// Whether the area is not empty and lies wholly on the display.
bool isOnDisplay(const geometry::Rect &area);

// `base` with the area's pixels taken from `part` (swapped when `invert`); the rest of `base`
// unchanged.
bootscreen::DisplayPicture composed(const bootscreen::DisplayPicture &base,
                                    const bootscreen::DisplayPicture &part,
                                    const geometry::Rect &area, bool invert);

} // namespace displayarea
