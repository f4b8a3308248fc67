#include "tools/randomart/fit_parts.h"

#include "catalogue/part_catalogue.h"
#include "formats/parts_atlas.h"

namespace orvane {

std::vector<FitPart> usableFitParts(const PartsAtlasBuffer& atlas,
                                    std::span<const std::uint32_t> ids) {
  std::vector<FitPart> parts;
  if (atlas.empty()) return parts;
  for (const std::uint32_t id : ids) {
    if (!isNamedPart(id)) continue;
    const AtlasCell cell = cellOf(id);
    const int x0 = int(cell.u * float(kAtlasColumns * kAtlasCellSize));
    const int y0 = int(cell.v * float(kAtlasRows * kAtlasCellSize));
    bool white = true, opaque = true;
    for (int y = y0; y < y0 + kAtlasCellSize; ++y) {
      for (int x = x0; x < x0 + kAtlasCellSize; ++x) {
        const std::uint16_t texel = atlas.pixel(x, y);  // A4R4G4B4
        white = white && (texel & 0x0FFF) == 0x0FFF;
        opaque = opaque && (texel >> 12) == 0xF;
      }
    }
    if (white) parts.push_back({id, opaque});
  }
  return parts;
}

}  // namespace orvane
