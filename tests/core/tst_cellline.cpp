// The cells a drag paints between two pointer positions.

#include "cellline.h"

#include <doctest/doctest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string spelled(const std::vector<geometry::Point> &cells)
{
    std::ostringstream out;
    for (const geometry::Point &cell : cells)
        out << '(' << cell.x << ',' << cell.y << ')';
    return out.str();
}

} // namespace

TEST_CASE("the cells on a drag's line, ends included")
{
    struct Row
    {
        geometry::Point from, to;
        const char *cells;
    };
    const Row rows[] = {
        {{10, 40}, {11, 42}, "(10,40)(10,41)(11,42)"},
        {{5, 5}, {5, 5}, "(5,5)"},
        {{0, 0}, {3, 0}, "(0,0)(1,0)(2,0)(3,0)"},
        {{3, 0}, {0, 0}, "(3,0)(2,0)(1,0)(0,0)"},
        {{0, 0}, {0, -2}, "(0,0)(0,-1)(0,-2)"},
        {{0, 0}, {3, 3}, "(0,0)(1,1)(2,2)(3,3)"},
        {{0, 3}, {3, 0}, "(0,3)(1,2)(2,1)(3,0)"},
        // Exactly on the middle between two cells: the start's side, whichever way it runs.
        {{0, 0}, {2, 1}, "(0,0)(1,0)(2,1)"},
        {{2, 1}, {0, 0}, "(2,1)(1,1)(0,0)"},
        {{0, 0}, {1, 2}, "(0,0)(0,1)(1,2)"},
        {{1, 2}, {0, 0}, "(1,2)(1,1)(0,0)"},
        {{0, 0}, {6, 3}, "(0,0)(1,0)(2,1)(3,1)(4,2)(5,2)(6,3)"},
        // Past the middle the other axis moves.
        {{0, 0}, {3, 2}, "(0,0)(1,1)(2,1)(3,2)"},
        {{0, 0}, {-3, -1}, "(0,0)(-1,0)(-2,-1)(-3,-1)"},
    };
    for (const Row &row : rows) {
        CAPTURE(row.from.x);
        CAPTURE(row.from.y);
        CAPTURE(row.to.x);
        CAPTURE(row.to.y);
        CHECK(spelled(cellline::cellsOnLine(row.from, row.to)) == row.cells);
    }
}

TEST_CASE("every cell on a line is the nearest to it, the start's side on the middle")
{
    const unsigned seed = 20240711;
    CAPTURE(seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> coordinate(-40, 200);
    for (int line = 0; line < 2000; ++line) {
        const geometry::Point from{coordinate(random), coordinate(random)};
        const geometry::Point to{coordinate(random), coordinate(random)};
        CAPTURE(spelled({from, to}));
        const std::vector<geometry::Point> cells = cellline::cellsOnLine(from, to);
        const int dx = to.x - from.x;
        const int dy = to.y - from.y;
        const bool alongX = std::abs(dx) >= std::abs(dy);
        const int major = alongX ? dx : dy;
        const int minor = alongX ? dy : dx;
        REQUIRE(cells.size() == size_t(std::abs(major)) + 1);
        CHECK(cells.back() == to);
        for (size_t i = 0; i < cells.size(); ++i) {
            const int alongMajor = alongX ? cells[i].x - from.x : cells[i].y - from.y;
            const int alongMinor = alongX ? cells[i].y - from.y : cells[i].x - from.x;
            const int step = major < 0 ? -int(i) : int(i);
            REQUIRE(alongMajor == step);
            if (major == 0)
                continue;
            // The line's minor coordinate here is step * minor / major; twice the cell's
            // distance from it, in units of |major|, is at most 1, and exactly 1 only on the
            // start's side of the line.
            const int twiceOff = 2 * alongMinor * major - 2 * step * minor;
            const int scale = std::abs(major);
            CHECK(std::abs(twiceOff) <= scale);
            if (std::abs(twiceOff) == scale)
                CHECK(std::abs(alongMinor) * scale < std::abs(step * minor));
        }
    }
}
