#include "tone.h"

#include "bootscreenformat.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tone {

namespace {

constexpr double White = 255.0;
constexpr double MidGrey = White / 2;

// The share of the placed picture that the robust range leaves out at each end.
constexpr double OutlierShare = 0.01;

double adjusted(double level, const LevelRange *stretch, const Adjustments &adjustments,
                double contrastFactor)
{
    if (stretch)
        level = (level - stretch->dark) * White / (stretch->light - stretch->dark);
    level = std::clamp(level, 0.0, White);
    if (adjustments.gamma != 1.0)
        level = White * std::pow(level / White, 1.0 / adjustments.gamma);
    if (adjustments.contrast != 0) {
        const double offset = level - MidGrey;
        // At full contrast the factor is infinite: every level but mid-grey itself goes to an end.
        level = std::isinf(contrastFactor) ? (offset == 0  ? MidGrey
                                              : offset < 0 ? 0.0
                                                           : White)
                                           : MidGrey + offset * contrastFactor;
    }
    level += adjustments.brightness * White / 100.0;
    return std::clamp(level, 0.0, White);
}

} // namespace

std::vector<double> levelsInside(const dithering::GreyLevels &levels, const geometry::Rect &covered)
{
    std::vector<double> inside;
    inside.reserve(size_t(std::max(0, covered.width * covered.height)));
    for (int y = covered.top; y <= covered.bottom(); ++y)
        for (int x = covered.left; x <= covered.right(); ++x)
            inside.push_back(levels[size_t(y * bootscreen::DisplayColumns + x)]);
    return inside;
}

LevelRange robustRange(const dithering::GreyLevels &levels, const geometry::Rect &covered)
{
    std::vector<double> inside = levelsInside(levels, covered);
    if (inside.empty())
        return {};
    const size_t last = inside.size() - 1;
    const auto darkAt = inside.begin() + std::ptrdiff_t(std::floor(OutlierShare * double(last)));
    const auto lightAt =
        inside.begin() + std::ptrdiff_t(std::ceil((1.0 - OutlierShare) * double(last)));
    std::nth_element(inside.begin(), darkAt, inside.end());
    const double dark = *darkAt;
    std::nth_element(inside.begin(), lightAt, inside.end());
    return {dark, *lightAt};
}

void adjust(dithering::GreyLevels &levels, const geometry::Rect &covered,
            const Adjustments &adjustments)
{
    if (adjustments.changesNothing())
        return;
    const LevelRange range = robustRange(levels, covered);
    const LevelRange *stretch = adjustments.stretchLevels && !range.isFlat() ? &range : nullptr;
    const double contrastFactor =
        adjustments.contrast >= MaxContrast
            ? std::numeric_limits<double>::infinity()
            : (100.0 + adjustments.contrast) / (100.0 - adjustments.contrast);
    for (int y = covered.top; y <= covered.bottom(); ++y) {
        for (int x = covered.left; x <= covered.right(); ++x) {
            double &level = levels[size_t(y * bootscreen::DisplayColumns + x)];
            level = adjusted(level, stretch, adjustments, contrastFactor);
        }
    }
}

} // namespace tone
