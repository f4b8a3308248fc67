#pragma once

#include "formats/parts_atlas.h"
#include "resources/embedded_parts_atlas.h"

namespace orvane::bench {

// The built-in parts atlas, unpacked once per benchmark program (empty if it is missing).
inline const PartsAtlasBuffer& benchAtlas() {
  static const PartsAtlasBuffer atlas = [] {
    PartsAtlasBuffer a;
    loadEmbeddedPartsAtlas(a);
    return a;
  }();
  return atlas;
}

}  // namespace orvane::bench
