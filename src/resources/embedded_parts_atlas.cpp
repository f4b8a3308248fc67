#include "resources/embedded_parts_atlas.h"

#include "resources/parts_atlas_resource.h"

namespace orvane {

bool loadEmbeddedPartsAtlas(PartsAtlasBuffer& atlas) {
  return loadPartsAtlas(embeddedPartsAtlasResource(), atlas);
}

}  // namespace orvane
