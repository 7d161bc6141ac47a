#pragma once

#include "dithering.h"
#include "geometry.h"

#include <vector>

// The tone step between the area averaging and the lit/dark decision: the picture's own dark and
// light levels stretched to black and white, then gamma, contrast and brightness. It works on the
// placed picture alone; the margins that fitting adds keep the background level.
namespace tone {

constexpr int MinBrightness = -100;
constexpr int MaxBrightness = 100;
constexpr int MinContrast = -100;
constexpr int MaxContrast = 100;
constexpr double MinGamma = 0.2;
constexpr double MaxGamma = 5.0;

struct Adjustments
{
    bool stretchLevels = true; // the picture's robust dark and light levels become 0 and 255
    int brightness = 0;        // added, in hundredths of the full range
    int contrast = 0;          // -100 flattens to mid-grey, 100 is a hard step at mid-grey
    double gamma = 1.0;        // above 1 lightens the middle tones, below 1 darkens them

    bool changesNothing() const
    {
        return !stretchLevels && brightness == 0 && contrast == 0 && gamma == 1.0;
    }
};

// The levels the picture really spans: its darkest and lightest hundredth are left out, so that
// a few stray pixels do not decide the stretch.
struct LevelRange
{
    double dark = 0;
    double light = 0;

    // Less than this many levels between dark and light is a flat picture, which keeps its
    // tone: stretching it would only magnify noise.
    static constexpr double FlatSpread = 8.0;

    bool isFlat() const { return light - dark < FlatSpread; }
};

// The levels of the display pixels inside `covered`, row by row.
std::vector<double> levelsInside(const dithering::GreyLevels &levels,
                                 const geometry::Rect &covered);

LevelRange robustRange(const dithering::GreyLevels &levels, const geometry::Rect &covered);

// Applies the adjustments to the display pixels inside `covered`.
void adjust(dithering::GreyLevels &levels, const geometry::Rect &covered,
            const Adjustments &adjustments);

} // namespace tone
