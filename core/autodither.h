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
    // parts show the background, which says nothing about the picture.
    void add(int level, int alpha)
    {
        if (alpha >= 128)
            ++counts[size_t(level)];
    }

    // The share (0-1) of the counted pixels within a few levels of the picture's four most
    // common levels; 1 when none was counted.
    double mainToneShare() const;

private:
    std::array<std::uint64_t, 256> counts{};
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
              double mainToneShare, const regions::Pixels &source,
              std::optional<dithering::Method> method, std::optional<int> threshold);

} // namespace autodither
