#pragma once

#include "geometry.h"

#include <vector>

// The cells a drag paints between two pointer positions: motion events arrive far apart in a
// fast drag, and every cell the pointer crossed is painted, not only the one it ends over. Every
// front end that paints by dragging walks the same line, so the same drag paints the same cells.
namespace cellline {

// Bresenham's line from `from` to `to`, both included, in order from `from`: one cell per step
// along the longer axis (along x when the axes are equal); the other axis moves once the line
// has passed the middle between two cells, and a line exactly on the middle stays on the
// start's side.
std::vector<geometry::Point> cellsOnLine(const geometry::Point &from, const geometry::Point &to);

} // namespace cellline
