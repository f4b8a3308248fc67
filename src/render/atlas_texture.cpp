#include "render/atlas_texture.h"

#include "formats/parts_atlas.h"

namespace orvane {

TexturePtr atlasTextureFromResource(std::span<const std::uint8_t> resource) {
  PartsAtlasReader reader;
  if (!reader.open(resource)) return nullptr;
  return makeTextureFromRows(int(kAtlasWidth), int(kAtlasHeight),
                             [reader](int x, int y, int count, std::uint32_t* out) {
                               std::uint16_t texels[kAtlasWidth];
                               reader.readRow(x, y, count, texels);
                               for (int i = 0; i < count; ++i) out[i] = expandA4R4G4B4(texels[i]);
                             });
}

}  // namespace orvane
