#include "autodither.h"

#include "bootscreenformat.h"
#include "tone.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace autodither {

namespace {

constexpr int LevelCount = 256;
constexpr int MidGreyThreshold = 128;

// Levels either side of a main tone that still count as that tone: JPEG noise and gentle
// shading stay within them.
constexpr int ToneWidth = 2;
constexpr int MainTones = 4;
// A step between neighbouring source pixels of at least this share of the picture's range (and
// this many levels) is more than the noise of a compressed flat area.
constexpr int TextureStepsInRange = 64;
constexpr int MinTextureStep = 2;

// Above either bound a picture counts as a few flat tones. A smooth ramp has an effectiveness
// of 0.75 and a main-tone share near its 4 x 5 / 256 levels; photos stay well below both.
constexpr double MinSeparation = 0.8;
constexpr double MinMainToneShare = 0.6;

// A step between neighbouring display pixels of at least this many levels is an edge of the
// picture, which a good threshold keeps.
constexpr double EdgeStep = 24.0;
// Border pixels within this many levels of the most common border level are its background.
constexpr double BackgroundWidth = 16.0;
constexpr double MinBackgroundShare = 0.5;

using Histogram = std::array<double, LevelCount>;

Histogram histogramOf(const std::vector<double> &levels)
{
    Histogram histogram{};
    for (const double level : levels)
        histogram[size_t(std::clamp(int(std::floor(level)), 0, LevelCount - 1))] += 1;
    return histogram;
}

struct Split
{
    int threshold;     // levels from here up are lit
    double separation; // between-class variance over total variance, 0-1
};

// Otsu's split: the threshold that best separates the levels into a dark and a light class. Of
// the thresholds that separate equally well (an empty stretch of the histogram), the middle one,
// so that edge pixels go to the tone they are nearer.
Split otsuSplit(const Histogram &histogram)
{
    double count = 0;
    double sum = 0;
    for (int level = 0; level < LevelCount; ++level) {
        count += histogram[size_t(level)];
        sum += level * histogram[size_t(level)];
    }
    const double mean = sum / count;
    double total = 0;
    for (int level = 0; level < LevelCount; ++level)
        total += histogram[size_t(level)] * (level - mean) * (level - mean);

    double best = -1;
    int firstBest = MidGreyThreshold;
    int lastBest = MidGreyThreshold;
    double darkCount = 0;
    double darkSum = 0;
    for (int threshold = 1; threshold < LevelCount; ++threshold) {
        darkCount += histogram[size_t(threshold - 1)];
        darkSum += (threshold - 1) * histogram[size_t(threshold - 1)];
        if (darkCount == 0 || darkCount == count)
            continue;
        const double darkMean = darkSum / darkCount;
        const double lightMean = (sum - darkSum) / (count - darkCount);
        const double between =
            darkCount * (count - darkCount) * (darkMean - lightMean) * (darkMean - lightMean);
        if (between > best) {
            best = between;
            firstBest = lastBest = threshold;
        } else if (between == best) {
            lastBest = threshold;
        }
    }
    if (best < 0 || total <= 0)
        return {MidGreyThreshold, 0.0};
    return {(firstBest + lastBest) / 2, best / count / total};
}

// The level most of the placed picture's border shares, when most of it does: the flat or
// transparent background a logo stands on.
std::optional<double> backgroundLevel(const dithering::GreyLevels &levels,
                                      const geometry::Rect &covered)
{
    std::vector<double> border;
    for (int y = covered.top; y <= covered.bottom(); ++y) {
        for (int x = covered.left; x <= covered.right(); ++x) {
            if (y == covered.top || y == covered.bottom() || x == covered.left ||
                x == covered.right())
                border.push_back(levels[size_t(y * bootscreen::DisplayColumns + x)]);
        }
    }
    const Histogram histogram = histogramOf(border);
    int bestLevel = 0;
    double bestCount = -1;
    const int width = int(BackgroundWidth);
    for (int level = 0; level < LevelCount; ++level) {
        double near = 0;
        for (int other = std::max(0, level - width);
             other <= std::min(LevelCount - 1, level + width); ++other)
            near += histogram[size_t(other)];
        if (near > bestCount) {
            bestCount = near;
            bestLevel = level;
        }
    }
    if (bestCount < MinBackgroundShare * double(border.size()))
        return std::nullopt;
    return bestLevel;
}

// A threshold that sets the picture off from its background: halfway between the background and
// the nearer quarter of the pixels on the side where most of the rest lie. Thin strokes, whose
// averaged levels are faint, then stay whole.
std::optional<int> silhouetteThreshold(const std::vector<double> &inside, double background)
{
    std::vector<double> darker;
    std::vector<double> lighter;
    for (const double level : inside) {
        if (level < background - BackgroundWidth)
            darker.push_back(level);
        else if (level > background + BackgroundWidth)
            lighter.push_back(level);
    }
    const bool onDarkSide = darker.size() > lighter.size();
    std::vector<double> &rest = onDarkSide ? darker : lighter;
    if (rest.empty())
        return std::nullopt;
    const size_t quarter = (rest.size() - 1) / 4;
    const auto nearerQuarter = onDarkSide ? rest.end() - 1 - std::ptrdiff_t(quarter)
                                          : rest.begin() + std::ptrdiff_t(quarter);
    std::nth_element(rest.begin(), nearerQuarter, rest.end());
    return int(std::floor((background + *nearerQuarter) / 2)) + 1;
}

// How many of the picture's edges a threshold keeps: neighbouring pixels a real step apart
// that end up one lit, one dark.
int keptEdges(const dithering::GreyLevels &levels, const geometry::Rect &covered, int threshold)
{
    int kept = 0;
    const auto keeps = [&](double a, double b) {
        return std::abs(a - b) >= EdgeStep && (a >= threshold) != (b >= threshold);
    };
    for (int y = covered.top; y <= covered.bottom(); ++y) {
        for (int x = covered.left; x <= covered.right(); ++x) {
            const double level = levels[size_t(y * bootscreen::DisplayColumns + x)];
            if (x < covered.right() &&
                keeps(level, levels[size_t(y * bootscreen::DisplayColumns + x + 1)]))
                ++kept;
            if (y < covered.bottom() &&
                keeps(level, levels[size_t((y + 1) * bootscreen::DisplayColumns + x)]))
                ++kept;
        }
    }
    return kept;
}

// The share of neighbouring blocks of 2 x 2 pixels a real step apart: none in a gradient,
// many in a photo, and few in noise or a fine texture, which the blocks average away.
double edgeShare(const dithering::GreyLevels &levels, const geometry::Rect &covered)
{
    const int columns = covered.width / 2;
    const int rows = covered.height / 2;
    std::vector<double> blocks(size_t(std::max(0, columns * rows)));
    for (int by = 0; by < rows; ++by) {
        for (int bx = 0; bx < columns; ++bx) {
            const size_t at =
                size_t((covered.top + 2 * by) * bootscreen::DisplayColumns + covered.left + 2 * bx);
            blocks[size_t(by * columns + bx)] =
                (levels[at] + levels[at + 1] + levels[at + bootscreen::DisplayColumns] +
                 levels[at + bootscreen::DisplayColumns + 1]) /
                4;
        }
    }
    int pairs = 0;
    int steps = 0;
    for (int by = 0; by < rows; ++by) {
        for (int bx = 0; bx < columns; ++bx) {
            const double level = blocks[size_t(by * columns + bx)];
            if (bx + 1 < columns) {
                ++pairs;
                steps += std::abs(level - blocks[size_t(by * columns + bx + 1)]) >= EdgeStep;
            }
            if (by + 1 < rows) {
                ++pairs;
                steps += std::abs(level - blocks[size_t((by + 1) * columns + bx)]) >= EdgeStep;
            }
        }
    }
    return pairs == 0 ? 0.0 : double(steps) / pairs;
}

// How alike neighbouring pixels are, from 1 (a smooth picture) down to 0 (noise, whose
// neighbours are unrelated): one less half the mean squared step over the variance.
double neighbourCorrelation(const dithering::GreyLevels &levels, const geometry::Rect &covered)
{
    const std::vector<double> inside = tone::levelsInside(levels, covered);
    if (inside.empty())
        return 1.0;
    double mean = 0;
    for (const double level : inside)
        mean += level;
    mean /= double(inside.size());
    double variance = 0;
    for (const double level : inside)
        variance += (level - mean) * (level - mean);
    variance /= double(inside.size());
    double squaredSteps = 0;
    int pairs = 0;
    for (int y = covered.top; y <= covered.bottom(); ++y) {
        for (int x = covered.left; x <= covered.right(); ++x) {
            const double level = levels[size_t(y * bootscreen::DisplayColumns + x)];
            if (x < covered.right()) {
                const double step = level - levels[size_t(y * bootscreen::DisplayColumns + x + 1)];
                squaredSteps += step * step;
                ++pairs;
            }
            if (y < covered.bottom()) {
                const double step =
                    level - levels[size_t((y + 1) * bootscreen::DisplayColumns + x)];
                squaredSteps += step * step;
                ++pairs;
            }
        }
    }
    if (pairs == 0 || variance <= 0)
        return 1.0;
    return 1.0 - squaredSteps / pairs / (2 * variance);
}

// Above this share of edges a picture of continuous tone has shapes worth keeping.
constexpr double MinPhotoEdgeShare = 0.02;
// Below this neighbour correlation a picture is noise or a fine texture, which error diffusion
// shows best as it is.
constexpr double MinPhotoCorrelation = 0.3;
// From this share of grain at full size a picture is a photo (drawn icons stay near 0.05 at
// most, photos are from 0.1 up, a dim one too).
constexpr double MinPhotoTextureShare = 0.08;

dithering::Method chooseMethod(const dithering::GreyLevels &levels, const geometry::Rect &covered,
                               double mainToneShare, double textureShare,
                               const regions::Pixels &source)
{
    // The grain of a photo at full size: its textured parts, smoothed by the averaging, would
    // pass for flat or shaded regions and come out solid.
    const bool grained = textureShare >= MinPhotoTextureShare;
    const auto fewShadedRegions = [&] {
        return !grained &&
               regions::isFewShadedRegions(
                   regions::segment(source, covered, regions::Purpose::Judging), covered);
    };
    if (!grained && hasFewFlatTones(levels, covered, mainToneShare)) {
        // Split cleanly in two by the levels, but not made of a few flat tones at full size:
        // shaded shapes, which a threshold alone would merge where they touch.
        return mainToneShare < MinMainToneShare && fewShadedRegions() ? dithering::Method::Regions
                                                                      : dithering::Method::None;
    }
    if (tone::robustRange(levels, covered).isFlat())
        return dithering::Method::FloydSteinberg;
    if (fewShadedRegions())
        return dithering::Method::Regions;
    if (edgeShare(levels, covered) >= MinPhotoEdgeShare &&
        neighbourCorrelation(levels, covered) >= MinPhotoCorrelation)
        return dithering::Method::Structure;
    return dithering::Method::FloydSteinberg;
}

} // namespace

void SourceTones::add(int level, int alpha)
{
    if (alpha < 128) {
        previous = twoBack = -1;
        return;
    }
    ++counts[size_t(level)];
    if (previous >= 0 && twoBack >= 0) {
        ++triples;
        const int before = previous - twoBack;
        const int after = level - previous;
        if ((before > 0) != (after > 0) && before != 0 && after != 0)
            ++turns[size_t(std::min(std::abs(before), std::abs(after)))];
    }
    twoBack = previous;
    previous = level;
}

double SourceTones::textureShare() const
{
    if (triples == 0)
        return 0.0;
    // The picture's range without its darkest and lightest hundredth.
    std::uint64_t total = 0;
    for (const std::uint64_t count : counts)
        total += count;
    const std::uint64_t tail = total / 100;
    int dark = 0;
    for (std::uint64_t below = 0; dark < LevelCount - 1 && below + counts[size_t(dark)] <= tail;
         ++dark)
        below += counts[size_t(dark)];
    int light = LevelCount - 1;
    for (std::uint64_t above = 0; light > dark && above + counts[size_t(light)] <= tail; --light)
        above += counts[size_t(light)];
    const int step = std::max(MinTextureStep, (light - dark) / TextureStepsInRange);
    std::uint64_t textured = 0;
    for (int amplitude = step; amplitude < LevelCount; ++amplitude)
        textured += turns[size_t(amplitude)];
    return double(textured) / double(triples);
}

double SourceTones::mainToneShare() const
{
    std::uint64_t total = 0;
    for (const std::uint64_t count : counts)
        total += count;
    if (total == 0)
        return 1.0;
    std::array<bool, LevelCount> taken{};
    std::uint64_t inMainTones = 0;
    for (int tone = 0; tone < MainTones; ++tone) {
        // The untaken window of 2 x ToneWidth + 1 levels that holds the most pixels.
        std::uint64_t bestCount = 0;
        int bestCentre = -1;
        for (int centre = 0; centre < LevelCount; ++centre) {
            std::uint64_t windowCount = 0;
            for (int level = std::max(0, centre - ToneWidth);
                 level <= std::min(LevelCount - 1, centre + ToneWidth); ++level)
                windowCount += taken[size_t(level)] ? 0 : counts[size_t(level)];
            if (windowCount > bestCount) {
                bestCount = windowCount;
                bestCentre = centre;
            }
        }
        if (bestCentre < 0)
            break;
        for (int level = std::max(0, bestCentre - ToneWidth);
             level <= std::min(LevelCount - 1, bestCentre + ToneWidth); ++level)
            taken[size_t(level)] = true;
        inMainTones += bestCount;
    }
    return double(inMainTones) / double(total);
}

bool hasFewFlatTones(const dithering::GreyLevels &levels, const geometry::Rect &covered,
                     double mainToneShare)
{
    if (tone::robustRange(levels, covered).isFlat())
        return false;
    const Split split = otsuSplit(histogramOf(tone::levelsInside(levels, covered)));
    return split.separation >= MinSeparation || mainToneShare >= MinMainToneShare;
}

int separatingThreshold(const dithering::GreyLevels &levels, const geometry::Rect &covered)
{
    const std::vector<double> inside = tone::levelsInside(levels, covered);
    if (inside.empty())
        return MidGreyThreshold;
    const int otsu = otsuSplit(histogramOf(inside)).threshold;
    const std::optional<double> background = backgroundLevel(levels, covered);
    if (!background)
        return otsu;
    const std::optional<int> silhouette = silhouetteThreshold(inside, *background);
    if (silhouette && keptEdges(levels, covered, *silhouette) > keptEdges(levels, covered, otsu))
        return *silhouette;
    return otsu;
}

Choice choose(const dithering::GreyLevels &levels, const geometry::Rect &covered,
              const SourceMeasures &measures, const regions::Pixels &source,
              std::optional<dithering::Method> method, std::optional<int> threshold)
{
    dithering::Method chosenMethod = method ? *method
                                            : chooseMethod(levels, covered, measures.mainToneShare,
                                                           measures.textureShare, source);
    const bool separates =
        chosenMethod == dithering::Method::None || chosenMethod == dithering::Method::Regions;
    const int chosenThreshold =
        threshold ? *threshold
                  : (separates ? separatingThreshold(levels, covered) : MidGreyThreshold);
    // A threshold that hides a shape drawn on another (a symbol on a disc the same side) or cuts
    // a shaded shape in two: the regions keep both.
    if (!method && chosenMethod == dithering::Method::None &&
        regions::thresholdLosesShapes(regions::segment(source, covered, regions::Purpose::Drawing),
                                      levels, chosenThreshold, covered))
        chosenMethod = dithering::Method::Regions;
    return {chosenMethod, chosenThreshold};
}

} // namespace autodither
