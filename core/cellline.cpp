#include "cellline.h"

#include <cstdlib>

namespace cellline {

std::vector<geometry::Point> cellsOnLine(const geometry::Point &from, const geometry::Point &to)
{
    const int dx = std::abs(to.x - from.x);
    const int dy = std::abs(to.y - from.y);
    const int xStep = to.x >= from.x ? 1 : -1;
    const int yStep = to.y >= from.y ? 1 : -1;
    const bool alongX = dx >= dy;
    const int major = alongX ? dx : dy;
    const int minor = alongX ? dy : dx;
    std::vector<geometry::Point> cells;
    cells.reserve(size_t(major) + 1);
    geometry::Point cell = from;
    int error = 0; // twice the line's distance past the current cell, in units of `major`
    for (int step = 0; step <= major; ++step) {
        cells.push_back(cell);
        error += 2 * minor;
        const bool minorMoves = error > major;
        if (minorMoves)
            error -= 2 * major;
        if (alongX) {
            cell.x += xStep;
            if (minorMoves)
                cell.y += yStep;
        } else {
            cell.y += yStep;
            if (minorMoves)
                cell.x += xStep;
        }
    }
    return cells;
}

} // namespace cellline
