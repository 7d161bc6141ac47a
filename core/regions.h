#pragma once

#include "displaypicture.h"
#include "geometry.h"

#include <vector>

// A picture on the display seen as regions: neighbouring pixels of nearly the same colour belong
// together, so that a smoothly shaded body is one region however far its shading runs, while a
// glyph, a mark or a second figure drawn on it is a region of its own. Icons, buttons and badges
// are a few such regions; a photo is many, or a few that hold much texture.
namespace regions {

// The colour of each display pixel as a point in a space where distances look alike: the grey
// level and two colour differences (blue and red less the level), all in grey levels, row by
// row. Without the colour differences the regions follow the grey levels alone.
struct Pixels
{
    const std::vector<double> *level = nullptr;
    const std::vector<double> *blueDifference = nullptr;
    const std::vector<double> *redDifference = nullptr;
};

struct Segmentation
{
    std::vector<int> region; // per display pixel of the area, row by row; -1 outside the area
    // Per display pixel: it was in a piece too small to be a region of its own (an anti-aliased
    // edge, a thin stroke, noise) and went to the neighbouring region nearest in colour.
    std::vector<bool> given;
    struct Region
    {
        int size = 0;
        double level = 0; // mean grey level
        double blueDifference = 0;
        double redDifference = 0;
    };
    std::vector<Region> regions;
};

// Whether the regions are to be drawn (render) or to judge the picture (isFewShadedRegions).
enum class Purpose { Drawing, Judging };

Segmentation segment(const Pixels &pixels, const geometry::Rect &area, Purpose purpose);

// How far apart two regions' mean colours are, in grey levels.
double distance(const Segmentation::Region &a, const Segmentation::Region &b);

// Each region solid on the side of the threshold its mean level (after the tone step) lies, a
// pixel given to it on its own side; where two visibly different regions land on the same side,
// the smaller carries the other state: a shape drawn on another (a mark, a symbol on a disc)
// turns over whole, a shape beside another along the edge they share, so that touching shapes
// stay apart. The rest of the display is dark.
bootscreen::DisplayPicture render(const Segmentation &segmentation,
                                  const std::vector<double> &levels, int threshold,
                                  const geometry::Rect &area);

// Whether the threshold alone, pixel by pixel, would lose a shape the regions keep: a shape
// drawn on another (a symbol on a disc) on the same side as it.
bool thresholdLosesShapes(const Segmentation &segmentation, const std::vector<double> &levels,
                          int threshold, const geometry::Rect &area);

// Whether the area is a few regions, each flat or smoothly shaded, large enough to show.
bool isFewShadedRegions(const Segmentation &segmentation, const geometry::Rect &area);

} // namespace regions
