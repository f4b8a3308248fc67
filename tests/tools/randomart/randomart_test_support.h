#pragma once

#include "formats/parts_atlas.h"
#include "resources/embedded_parts_atlas.h"
#include "tools/randomart/genome_rendering.h"

namespace orvane::test {

// The program's parts atlas, unpacked once for the whole test program.
const PartsAtlasBuffer& partsAtlas();

// A 192 x 96 target with some structure: a gradient, a dark disc and a bright bar.
TargetPixels sampleTarget();

}  // namespace orvane::test
