#include "randomart_test_support.h"

#include <cstdlib>

namespace orvane::test {

const PartsAtlasBuffer& partsAtlas() {
  static const PartsAtlasBuffer atlas = [] {
    PartsAtlasBuffer buffer;
    if (!loadEmbeddedPartsAtlas(buffer)) std::abort();
    return buffer;
  }();
  return atlas;
}

TargetPixels sampleTarget() {
  TargetPixels target(kFieldPixels);
  for (int y = 0; y < kFieldHeight; ++y) {
    for (int x = 0; x < kFieldWidth; ++x) {
      std::uint32_t r = std::uint32_t(x * 255 / (kFieldWidth - 1));
      std::uint32_t g = std::uint32_t(y * 255 / (kFieldHeight - 1));
      std::uint32_t b = 128;
      const int dx = x - 60, dy = y - 40;
      if (dx * dx + dy * dy < 25 * 25) r = g = b = 20;
      if (x > 120 && x < 170 && y > 60 && y < 75) r = g = b = 250;
      target[std::size_t(y) * kFieldWidth + x] = 0xFF000000u | r << 16 | g << 8 | b;
    }
  }
  return target;
}

}  // namespace orvane::test
