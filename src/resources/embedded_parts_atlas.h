#pragma once

#include "formats/parts_atlas.h"

namespace orvane {

// Deciphers and unpacks the parts atlas built into the program; false (and `atlas` left empty)
// when the build carried no atlas or memory ran out.
bool loadEmbeddedPartsAtlas(PartsAtlasBuffer& atlas);

}  // namespace orvane
