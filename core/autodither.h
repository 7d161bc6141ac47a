#pragma once

#include "dithering.h"
#include "geometry.h"
#include "regions.h"

#include <array>
#include <cstdint>
#include <optional>

// The automatic choice of how grey becomes lit and dark: pictures of a few flat tones (logos,
// icons, text, line art) get a clean threshold between their main tones, so that fills stay
// solid and edges sharp; pictures of continuous tone (photos, gradients, textures, and a flat
// grey, which only a pattern can show) get error diffusion.
namespace autodither {

// How the source picture's own pixels spread over the luminance levels, at full resolution:
// there a logo's anti-aliased edges are a sliver, while a photo's tones are spread out.
class SourceTones
{
public:
    // A pixel of luminance `level` (0-255), counted when it is mostly opaque: the transparent
    // parts show the background, which says nothing about the picture. The pixels of a row
    // arrive in order, each row begun with `startRow`.
    void add(int level, int alpha);
    void startRow() { previous = twoBack = -1; }

    // The share (0-1) of the counted pixels within a few levels of the picture's four most
    // common levels; 1 when none was counted.
    double mainToneShare() const;

    // The share (0-1) of the counted pixels that are a peak or a dip between their neighbours
    // along the row, a real step either side (measured against the picture's own range of
    // levels, so that a dim photo counts as much as a bright one): the grain of grass, leaves,
    // fur or film, which a drawn picture does not have (its shading is smooth and its edges are
    // single steps); 0 when none was counted.
    double textureShare() const;

private:
    std::array<std::uint64_t, 256> counts{};
    std::uint64_t triples = 0;
    // The peaks and dips by the smaller of their two steps.
    std::array<std::uint64_t, 256> turns{};
    int previous = -1;
    int twoBack = -1;
};

// What the picture's own pixels showed at full size.
struct SourceMeasures
{
    double mainToneShare = 1.0;
    double textureShare = 0.0;
};

struct Choice
{
    dithering::Method method;
    int threshold;
};

// Whether the (toned) levels inside `covered` are those of a picture of a few flat tones.
bool hasFewFlatTones(const dithering::GreyLevels &levels, const geometry::Rect &covered,
                     double mainToneShare);

// A threshold between the main tones: where a level starts to count as lit.
int separatingThreshold(const dithering::GreyLevels &levels, const geometry::Rect &covered);

// The method and threshold for the levels; what is given stays as given, what is not is chosen
// from the picture. A threshold chosen for error diffusion or Bayer is mid-grey, which keeps the
// picture's mean brightness.
Choice choose(const dithering::GreyLevels &levels, const geometry::Rect &covered,
              const SourceMeasures &measures, const regions::Pixels &source,
              std::optional<dithering::Method> method, std::optional<int> threshold);

} // namespace autodither
