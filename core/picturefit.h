#pragma once

#include "geometry.h"

// Where a picture lands on the 32 x 128 display, or in an area of it, before it is turned into
// lit and dark pixels.
namespace picturefit {

enum class Fit {
    Contain, // scaled to fit inside the display, aspect kept, centred; margins around it
    Cover,   // scaled to fill the display, aspect kept, centred; cropped
    Stretch, // scaled to the display, aspect ignored
    None,    // at its own size, centred; cropped or with margins
};

// Clockwise turns: 0, 90, 180 or 270 degrees, or Auto, which turns a picture by 90 when its
// long side lies across the long side of the room it goes into: a landscape picture uses the
// tall screen.
enum class Rotation { None, Quarter, Half, ThreeQuarters, Auto };

// The number of clockwise quarter turns a picture of `size` gets in an area of `room`.
int quarterTurns(Rotation rotation, const geometry::Size &size, const geometry::Size &room);

// The size of a picture after that many quarter turns.
geometry::Size turnedSize(const geometry::Size &size, int turns);

// The rectangle, in display pixels, that a picture of `size` (already turned) covers when fitted
// into `area`: whole pixels, offsets rounded down; it may reach past the area, which crops it.
geometry::Rect placement(const geometry::Size &size, Fit fit, const geometry::Rect &area);

} // namespace picturefit
