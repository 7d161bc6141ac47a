#pragma once

#include "geometry.h"
#include "pictureconversion.h"

#include <optional>

// The part of a picture that a zoomed view shows: a zoom factor and the point of the picture at
// the view's centre, turned into the crop the conversion takes. At 1x the view is what the fit
// alone shows; each doubling of the zoom halves the part of the picture in view, and moving the
// picture on the display moves the part under it, as a photo moves in a frame.
namespace pictureframing {

constexpr double MinZoom = 1.0;
constexpr double MaxZoom = 8.0;

struct Framing
{
    double zoom = MinZoom;
    // The picture's point at the view's centre, as shares of its width and height (upright).
    double centreX = 0.5;
    double centreY = 0.5;
};

// What a framing gives for a picture of `fullSize` (its own size, upright) with the options'
// fit, rotation and area (their crop is not looked at).
struct Framed
{
    // The part of the picture converted; nothing when it is the whole picture.
    std::optional<geometry::Rect> crop;
    // The framing with its centre held where the view stays on the picture.
    Framing framing;
    // Where the part lands on the display (it may reach past the area, which cuts it), and the
    // clockwise quarter turns it gets there.
    geometry::Rect placed;
    int turns = 0;
};

Framed framed(const geometry::Size &fullSize, const pictureconversion::Options &options,
              const Framing &framing);

// The framing after the picture is moved by (`columns`, `rows`) display pixels: the part in view
// moves the other way.
Framing moved(const geometry::Size &fullSize, const pictureconversion::Options &options,
              const Framing &framing, double columns, double rows);

} // namespace pictureframing
