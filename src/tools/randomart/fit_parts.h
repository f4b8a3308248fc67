#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace orvane {

class PartsAtlasBuffer;

// A part the shape fitting draws with.
struct FitPart {
  std::uint32_t id = 0;
  bool solid = false;  // every texel of its cell opaque: coverage needs no texture reads
};

// The short list the fitting tries by default, from the basic shapes and the gradations: the
// opaque square, the circle, the right triangle, the upright triangle, the soft round spot and
// the left-to-right ramp. A quad of the right triangle is any triangle; the spot and the ramp
// give soft edges and smooth shading that hard shapes need many layers for.
inline constexpr std::uint32_t kDefaultFitParts[] = {242, 241, 248, 245, 490, 480};

// The parts of `ids` that the fitting can use: named parts whose cells are white in every
// texel, so the shape lives in the alpha alone and a layer's colour reaches the picture as it
// is (the colour solver relies on that). The others are left out.
std::vector<FitPart> usableFitParts(const PartsAtlasBuffer& atlas,
                                    std::span<const std::uint32_t> ids);

}  // namespace orvane
