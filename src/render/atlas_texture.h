#pragma once

#include <cstdint>
#include <span>

#include "render/texture.h"

namespace orvane {

// The parts atlas as a texture whose cells are read straight from the enciphered resource when
// they are first drawn (PartsAtlasReader): a program that draws one picture deciphers the few
// cells it uses and never unpacks the whole atlas. The resource must stay as it is while the
// texture lives. None when the resource is missing or short.
TexturePtr atlasTextureFromResource(std::span<const std::uint8_t> resource);

}  // namespace orvane
