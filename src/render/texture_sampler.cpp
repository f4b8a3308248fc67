#include "render/texture_sampler.h"

#include <cmath>

namespace orvane {
namespace {

// The deepest level whose texels still tile the rectangle exactly.
int deepestLevelInside(const TexelRect& r, int levelCount) {
  int level = 0;
  while (level + 1 < levelCount) {
    const int step = 1 << (level + 1);
    const bool aligned =
        r.x0 % step == 0 && r.x1 % step == 0 && r.y0 % step == 0 && r.y1 % step == 0;
    if (!aligned || r.x1 - r.x0 < step || r.y1 - r.y0 < step) break;
    ++level;
  }
  return level;
}

}  // namespace

TexelRect texelRectOf(const Texture& texture, float u, float v, float du, float dv) {
  auto edge = [](double t, int size) {
    return int(std::clamp(std::floor(t * size + 0.5), 0.0, double(size)));
  };
  const int w = texture.width(), h = texture.height();
  TexelRect r{edge(std::min(u, u + du), w), edge(std::min(v, v + dv), h),
              edge(std::max(u, u + du), w), edge(std::max(v, v + dv), h)};
  if (r.x1 <= r.x0) r.x0 = std::min(r.x0, w - 1), r.x1 = r.x0 + 1;
  if (r.y1 <= r.y0) r.y0 = std::min(r.y0, h - 1), r.y1 = r.y0 + 1;
  return r;
}

SamplerSetup prepareSampler(const Texture& texture, TexelRect rect, TextureFilter filter,
                            double dUdx, double dVdx, double dUdy, double dVdy) {
  SamplerSetup s;
  s.rect = rect;
  const double lx = std::hypot(dUdx, dVdx);
  const double ly = std::hypot(dUdy, dVdy);
  const double major = std::max(lx, ly);
  if (filter == TextureFilter::Point || !(major > 1.0)) {
    s.kind =
        filter == TextureFilter::Point ? SamplerSetup::Kind::Nearest : SamplerSetup::Kind::Bilinear;
    s.sheet = &texture.sheet(rect, 0);
    return s;
  }
  s.kind = SamplerSetup::Kind::Minified;
  const int maxLevel = deepestLevelInside(rect, texture.levelCount());
  // An axis that is magnified asks for no more taps than one texel per pixel would.
  const double minor = std::max(std::min(lx, ly), 1.0);
  s.taps = int(std::clamp(std::ceil(major / minor - 1e-9), 1.0, double(kMaxAnisotropy)));
  const double lod = std::log2(major / s.taps);
  s.levelIndex = int(std::clamp(std::floor(lod + 0.5), 0.0, double(maxLevel)));
  s.sheet = &texture.sheet(rect, s.levelIndex);
  const double axisU = lx >= ly ? dUdx : dUdy;
  const double axisV = lx >= ly ? dVdx : dVdy;
  for (int k = 0; k < s.taps; ++k) {
    const double t = (k + 0.5) / s.taps - 0.5;
    s.tapU[k] = std::llround(t * axisU * 65536.0);
    s.tapV[k] = std::llround(t * axisV * 65536.0);
  }
  return s;
}

}  // namespace orvane
