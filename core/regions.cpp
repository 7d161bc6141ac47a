#include "regions.h"

#include "bootscreenformat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <numeric>
#include <utility>

namespace regions {

namespace {

using bootscreen::DisplayColumns;
using bootscreen::DisplayRows;

// Neighbours closer than this (in grey levels) are the same region: the step of smooth shading
// between two display pixels stays below it, an anti-aliased edge is a step above it. Drawn,
// a region takes in a little more of its shading than when the picture is judged, where the
// stricter step keeps a photo's soft textures from passing for a few regions.
constexpr double DrawnJoinDistance = 17.0;
constexpr double JudgedJoinDistance = 14.0;
// Regions smaller than this are edge pixels between two regions, or noise: each goes to the
// neighbouring region nearest in colour.
constexpr int MinRegionSize = 4;
constexpr int SmallRegionPasses = 3;

// A region of at least this share of the area shows on the display as a shape.
constexpr double ShownShare = 0.006;
constexpr int MaxShownRegions = 22;
// Neighbours in different regions, as a share of all: a region's edge is a line, while in a
// photo many neighbours differ.
constexpr double MaxAcrossShare = 0.23;
constexpr double MinShownCoverage = 0.9;

// Two touching regions whose colours are at least this far apart are different shapes, which
// stay apart on the display even where both land on the same side of the threshold.
constexpr double VisibleDistance = 40.0;
// A region no larger than this on another of the same side is a mark drawn on it (a glyph, a
// highlight): it is shown whole in the other state rather than outlined.
constexpr int MarkSize = 40;
// A region smaller than this that is no mark carries no line: the lines between the many small
// pieces of a detailed part (a lens, a texture) would only draw a maze.
constexpr int MinLineRegion = 12;
// A shape drawn on another this far from it in grey level is lost where a threshold puts both
// on the same side: a symbol, not a highlight, a shade of the same paint or a dark outline.
constexpr double LostLevelStep = 64.0;
// A shape with at least this share of its edge on one other region is drawn on it.
constexpr double EnclosedShare = 0.7;

class Sets
{
public:
    explicit Sets(size_t count) : parent(count) { std::iota(parent.begin(), parent.end(), 0); }
    int find(int i)
    {
        while (parent[size_t(i)] != i) {
            parent[size_t(i)] = parent[size_t(parent[size_t(i)])];
            i = parent[size_t(i)];
        }
        return i;
    }
    void join(int a, int b)
    {
        a = find(a);
        b = find(b);
        if (a != b)
            parent[size_t(std::max(a, b))] = std::min(a, b);
    }

private:
    std::vector<int> parent;
};

double pixelDistance(const Pixels &pixels, size_t a, size_t b)
{
    const double level = (*pixels.level)[a] - (*pixels.level)[b];
    double squared = level * level;
    if (pixels.blueDifference && pixels.redDifference) {
        const double blue = (*pixels.blueDifference)[a] - (*pixels.blueDifference)[b];
        const double red = (*pixels.redDifference)[a] - (*pixels.redDifference)[b];
        squared += blue * blue + red * red;
    }
    return std::sqrt(squared);
}

// Numbers the sets' roots 0, 1, ... and sums each region's colour; returns a pixel of each.
std::vector<size_t> label(Sets &sets, const Pixels &pixels, const geometry::Rect &area,
                          Segmentation &segmentation)
{
    std::vector<size_t> firstPixel;
    std::vector<int> number(size_t(DisplayColumns * DisplayRows), -1);
    segmentation.regions.clear();
    for (int y = area.top; y <= area.bottom(); ++y) {
        for (int x = area.left; x <= area.right(); ++x) {
            const size_t at = size_t(y * DisplayColumns + x);
            const size_t root = size_t(sets.find(int(at)));
            if (number[root] < 0) {
                number[root] = int(segmentation.regions.size());
                segmentation.regions.emplace_back();
                firstPixel.push_back(at);
            }
            const int id = number[root];
            segmentation.region[at] = id;
            Segmentation::Region &region = segmentation.regions[size_t(id)];
            ++region.size;
            region.level += (*pixels.level)[at];
            if (pixels.blueDifference && pixels.redDifference) {
                region.blueDifference += (*pixels.blueDifference)[at];
                region.redDifference += (*pixels.redDifference)[at];
            }
        }
    }
    for (Segmentation::Region &region : segmentation.regions) {
        region.level /= region.size;
        region.blueDifference /= region.size;
        region.redDifference /= region.size;
    }
    return firstPixel;
}

// Calls `each(a, b)` for the display indexes of every pair of neighbours in the area.
template <typename Each> void forNeighbours(const geometry::Rect &area, Each each)
{
    for (int y = area.top; y <= area.bottom(); ++y) {
        for (int x = area.left; x <= area.right(); ++x) {
            const size_t at = size_t(y * DisplayColumns + x);
            if (x < area.right())
                each(at, at + 1);
            if (y < area.bottom())
                each(at, at + DisplayColumns);
        }
    }
}

// How the regions touch: each one's edge inside the area, the part of it along the area's own
// edge, how much of it each pair shares, and the neighbour it shares most with.
struct Adjacency
{
    std::vector<int> perimeter;
    std::vector<int> border;
    std::map<std::pair<int, int>, int> shared;
    std::vector<int> enclosing;
    std::vector<std::vector<int>> neighbours;

    // A region with as much edge as pixels is a line (the anti-aliased rim of a shape), which
    // encloses nothing.
    bool isThin(const Segmentation &segmentation, size_t r) const
    {
        return perimeter[r] >= segmentation.regions[r].size;
    }

    int sharedWith(int a, int b) const
    {
        const auto found = shared.find(std::minmax(a, b));
        return found == shared.end() ? 0 : found->second;
    }
};

Adjacency adjacency(const Segmentation &segmentation, const geometry::Rect &area)
{
    const size_t count = segmentation.regions.size();
    Adjacency adjacent{std::vector<int>(count, 0),
                       std::vector<int>(count, 0),
                       {},
                       std::vector<int>(count, -1),
                       std::vector<std::vector<int>>(count)};
    forNeighbours(area, [&](size_t a, size_t b) {
        const int ra = segmentation.region[a];
        const int rb = segmentation.region[b];
        if (ra == rb)
            return;
        ++adjacent.perimeter[size_t(ra)];
        ++adjacent.perimeter[size_t(rb)];
        ++adjacent.shared[std::minmax(ra, rb)];
    });
    for (int y = area.top; y <= area.bottom(); ++y) {
        for (int x = area.left; x <= area.right(); ++x) {
            const int r = segmentation.region[size_t(y * DisplayColumns + x)];
            adjacent.border[size_t(r)] +=
                (x == area.left) + (x == area.right()) + (y == area.top) + (y == area.bottom());
        }
    }
    std::vector<int> most(count, 0);
    for (const auto &[pair, length] : adjacent.shared) {
        for (const auto &[one, other] : {pair, std::make_pair(pair.second, pair.first)}) {
            adjacent.neighbours[size_t(one)].push_back(other);
            if (!adjacent.isThin(segmentation, size_t(other)) && length > most[size_t(one)]) {
                most[size_t(one)] = length;
                adjacent.enclosing[size_t(one)] = other;
            }
        }
    }
    return adjacent;
}

// Each region's side by its mean level after the tone step.
std::vector<bool> regionSides(const Segmentation &segmentation, const std::vector<double> &levels,
                              int threshold)
{
    std::vector<double> toned(segmentation.regions.size(), 0.0);
    for (size_t at = 0; at < segmentation.region.size(); ++at) {
        if (segmentation.region[at] >= 0)
            toned[size_t(segmentation.region[at])] += levels[at];
    }
    std::vector<bool> lit(segmentation.regions.size());
    for (size_t r = 0; r < lit.size(); ++r)
        lit[r] = toned[r] / segmentation.regions[r].size >= threshold;
    return lit;
}

// Whether region `r` is a shape drawn on its enclosing region: most of its edge is shared with
// visibly different regions on that one's side (the holes of a letter, the two halves of a
// shaded disc, when drawing also its anti-aliased rim), and the enclosing one is at least twice
// its size; or, when drawing, a small mark (a highlight, a dot) that shares half its edge with a
// larger one.
bool isDrawnOn(const Segmentation &segmentation, const Adjacency &adjacent,
               const std::vector<bool> &lit, size_t r, bool marksToo = true)
{
    const int e = adjacent.enclosing[r];
    if (e < 0)
        return false;
    const Segmentation::Region &shape = segmentation.regions[r];
    const Segmentation::Region &under = segmentation.regions[size_t(e)];
    if (distance(shape, under) < VisibleDistance)
        return false;
    int shared = 0;
    for (const int neighbour : adjacent.neighbours[r]) {
        if (lit[size_t(neighbour)] == lit[size_t(e)] &&
            (distance(segmentation.regions[size_t(neighbour)], shape) >= VisibleDistance ||
             (marksToo && adjacent.isThin(segmentation, size_t(neighbour)))))
            shared += adjacent.sharedWith(int(r), neighbour);
    }
    const bool smaller =
        shape.size != under.size ? shape.size < under.size : shape.level < under.level;
    const bool mark = marksToo && shape.size <= MarkSize && smaller &&
                      2 * adjacent.sharedWith(int(r), e) >= adjacent.perimeter[r];
    const bool enclosed = 2 * shape.size <= under.size && shape.size >= MinLineRegion &&
                          adjacent.border[r] == 0 &&
                          EnclosedShare * adjacent.perimeter[r] <= double(shared);
    return mark || enclosed;
}

// The regions, larger (then lighter) first: a region's enclosing one comes before it.
std::vector<size_t> largestFirst(const Segmentation &segmentation)
{
    std::vector<size_t> order(segmentation.regions.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const Segmentation::Region &first = segmentation.regions[a];
        const Segmentation::Region &second = segmentation.regions[b];
        return first.size != second.size ? first.size > second.size : first.level > second.level;
    });
    return order;
}

} // namespace

double distance(const Segmentation::Region &a, const Segmentation::Region &b)
{
    const double level = a.level - b.level;
    const double blue = a.blueDifference - b.blueDifference;
    const double red = a.redDifference - b.redDifference;
    return std::sqrt(level * level + blue * blue + red * red);
}

Segmentation segment(const Pixels &pixels, const geometry::Rect &area, Purpose purpose)
{
    const double joinDistance =
        purpose == Purpose::Drawing ? DrawnJoinDistance : JudgedJoinDistance;
    Segmentation segmentation;
    segmentation.region.assign(size_t(DisplayColumns * DisplayRows), -1);
    if (area.width <= 0 || area.height <= 0)
        return segmentation;
    Sets sets(size_t(DisplayColumns * DisplayRows));
    forNeighbours(area, [&](size_t a, size_t b) {
        if (pixelDistance(pixels, a, b) < joinDistance)
            sets.join(int(a), int(b));
    });
    std::vector<size_t> firstPixel = label(sets, pixels, area, segmentation);
    segmentation.given.assign(segmentation.region.size(), false);
    for (size_t at = 0; at < segmentation.region.size(); ++at)
        segmentation.given[at] =
            segmentation.region[at] >= 0 &&
            segmentation.regions[size_t(segmentation.region[at])].size < MinRegionSize;

    for (int pass = 0; pass < SmallRegionPasses; ++pass) {
        // Each small region's nearest neighbouring region in colour.
        const size_t count = segmentation.regions.size();
        std::vector<int> nearest(count, -1);
        std::vector<double> nearestDistance(count, 0.0);
        const auto consider = [&](int small, int other) {
            if (segmentation.regions[size_t(small)].size >= MinRegionSize)
                return;
            const double d =
                distance(segmentation.regions[size_t(small)], segmentation.regions[size_t(other)]);
            if (nearest[size_t(small)] < 0 || d < nearestDistance[size_t(small)]) {
                nearest[size_t(small)] = other;
                nearestDistance[size_t(small)] = d;
            }
        };
        bool any = false;
        forNeighbours(area, [&](size_t a, size_t b) {
            const int ra = segmentation.region[a];
            const int rb = segmentation.region[b];
            if (ra != rb) {
                consider(ra, rb);
                consider(rb, ra);
            }
        });
        for (size_t small = 0; small < count; ++small) {
            if (nearest[small] < 0)
                continue;
            any = true;
            sets.join(int(firstPixel[small]), int(firstPixel[size_t(nearest[small])]));
        }
        if (!any)
            break;
        firstPixel = label(sets, pixels, area, segmentation);
    }
    return segmentation;
}

bootscreen::DisplayPicture render(const Segmentation &segmentation,
                                  const std::vector<double> &levels, int threshold,
                                  const geometry::Rect &area)
{
    // Each region's side by its mean level after the tone step; a pixel given to a region keeps
    // its own side, so that thin strokes stay whole.
    const std::vector<bool> lit = regionSides(segmentation, levels, threshold);
    std::vector<bool> state(segmentation.region.size(), false);
    for (size_t at = 0; at < state.size(); ++at) {
        if (segmentation.region[at] >= 0)
            state[at] = segmentation.given[at] ? levels[at] >= threshold
                                               : bool(lit[size_t(segmentation.region[at])]);
    }
    const Adjacency adjacent = adjacency(segmentation, area);

    // A shape drawn on another that shows on the same side turns over whole: a symbol on a disc
    // stays, and the disc stays whole around it. Enclosing regions first, so that the hole of a
    // turned letter, shown on the other side already, stays as it is.
    std::vector<bool> markTurned(lit.size(), false);
    for (const size_t r : largestFirst(segmentation)) {
        const int e = adjacent.enclosing[r];
        markTurned[r] = e >= 0 && lit[r] == (lit[size_t(e)] != markTurned[size_t(e)]) &&
                        isDrawnOn(segmentation, adjacent, lit, r);
    }
    // Whether the pixel `offset` from `at` (one to the side or one row up or down) is of the same
    // region: otherwise the region is one pixel thin there, and a line along it would hide it.
    const auto backed = [&](size_t at, std::ptrdiff_t offset) {
        const int x = int(at % DisplayColumns) + (std::abs(offset) == 1 ? int(offset) : 0);
        const int y =
            int(at / DisplayColumns) + (std::abs(offset) == 1 ? 0 : int(offset / DisplayColumns));
        return x >= area.left && x <= area.right() && y >= area.top && y <= area.bottom() &&
               segmentation.region[size_t(y * DisplayColumns + x)] == segmentation.region[at];
    };

    // Where two other visibly different regions land on the same side, the smaller carries the
    // other state along the edge they share, on the side where that hides no thin part.
    std::vector<bool> edge(segmentation.region.size(), false);
    forNeighbours(area, [&](size_t a, size_t b) {
        const int ra = segmentation.region[a];
        const int rb = segmentation.region[b];
        // Only pixels that show their region's side draw its edge.
        if (ra == rb || markTurned[size_t(ra)] || markTurned[size_t(rb)] || state[a] != state[b] ||
            state[a] != lit[size_t(ra)] || state[b] != lit[size_t(rb)])
            return;
        const Segmentation::Region &first = segmentation.regions[size_t(ra)];
        const Segmentation::Region &second = segmentation.regions[size_t(rb)];
        if (distance(first, second) < VisibleDistance)
            return;
        const bool firstCarries =
            first.size != second.size ? first.size < second.size : first.level < second.level;
        const int carrier = firstCarries ? ra : rb;
        if (segmentation.regions[size_t(carrier)].size < MinLineRegion)
            return;
        const std::ptrdiff_t step = std::ptrdiff_t(b) - std::ptrdiff_t(a);
        const size_t carried = firstCarries ? a : b;
        const size_t other = firstCarries ? b : a;
        const std::ptrdiff_t away = firstCarries ? -step : step;
        if (backed(carried, away))
            edge[carried] = true;
        else if (backed(other, -away))
            edge[other] = true;
    });
    bootscreen::DisplayPicture picture;
    for (int y = area.top; y <= area.bottom(); ++y) {
        for (int x = area.left; x <= area.right(); ++x) {
            const size_t at = size_t(y * DisplayColumns + x);
            const bool turned = markTurned[size_t(segmentation.region[at])] || edge[at];
            picture.setLit(x, y, state[at] != turned);
        }
    }
    return picture;
}

bool thresholdLosesShapes(const Segmentation &segmentation, const std::vector<double> &levels,
                          int threshold, const geometry::Rect &area)
{
    const std::vector<bool> lit = regionSides(segmentation, levels, threshold);
    const Adjacency adjacent = adjacency(segmentation, area);
    for (size_t r = 0; r < lit.size(); ++r) {
        const int e = adjacent.enclosing[r];
        if (e >= 0 && lit[r] == lit[size_t(e)] && segmentation.regions[r].size >= MinLineRegion &&
            std::abs(segmentation.regions[r].level - segmentation.regions[size_t(e)].level) >=
                LostLevelStep &&
            isDrawnOn(segmentation, adjacent, lit, r, false))
            return true;
    }
    return false;
}

bool isFewShadedRegions(const Segmentation &segmentation, const geometry::Rect &area)
{
    const double total = double(area.width) * area.height;
    if (total <= 0)
        return false;
    int shown = 0;
    double covered = 0;
    for (const Segmentation::Region &region : segmentation.regions) {
        if (region.size >= ShownShare * total) {
            ++shown;
            covered += region.size;
        }
    }
    int pairs = 0;
    int across = 0;
    forNeighbours(area, [&](size_t a, size_t b) {
        ++pairs;
        across += segmentation.region[a] != segmentation.region[b];
    });
    return shown >= 2 && shown <= MaxShownRegions && covered >= MinShownCoverage * total &&
           across <= MaxAcrossShare * pairs;
}

} // namespace regions
