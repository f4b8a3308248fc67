#include "tools/randomart/fit_paint.h"

#include <cmath>

#include "render/pixel_blend.h"

namespace orvane {
namespace {

// The source drawQuad blends for a white texel of alpha `texelAlpha` under the colour.
std::uint32_t sourceOf(std::uint32_t texelAlpha, std::uint32_t colour) {
  return modulate(texelAlpha << 24 | 0x00FFFFFFu, colour);
}

// Calls f(pixel index, texel alpha) for every pixel of the raster.
template <typename F>
void forEachPixel(const FitRaster& raster, F&& f) {
  const std::uint8_t* coverage = raster.coverage.data();
  for (const Span& s : raster.spans) {
    const int first = s.y * kFieldWidth;
    for (int x = s.x0; x < s.x1; ++x) f(first + x, raster.solid ? 255u : *coverage++);
  }
}

std::int64_t squaredChannels(std::uint32_t a, std::uint32_t b) {
  std::int64_t sum = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
    sum += d * d;
  }
  return sum;
}

}  // namespace

void paintRaster(const FitRaster& raster, std::uint32_t colour, std::uint32_t* picture) {
  forEachPixel(raster, [&](int p, std::uint32_t alpha) {
    const std::uint32_t source = sourceOf(alpha, colour);
    if ((source >> 24) == 255) {
      picture[p] = source;
    } else if ((source >> 24) != 0) {
      picture[p] = blendOver(source, picture[p], false);
    }
  });
}

void attenuate(const FitRaster& raster, std::uint32_t colour, float* through) {
  forEachPixel(raster, [&](int p, std::uint32_t alpha) {
    through[p] *= float(255 - (sourceOf(alpha, colour) >> 24)) * (1.0f / 255.0f);
  });
}

std::int64_t squaredErrorChange(const FitRaster& raster, std::uint32_t colour,
                                const std::uint32_t* picture, const std::uint32_t* target) {
  std::int64_t change = 0;
  forEachPixel(raster, [&](int p, std::uint32_t alpha) {
    const std::uint32_t source = sourceOf(alpha, colour);
    if ((source >> 24) == 0) return;
    const std::uint32_t painted =
        (source >> 24) == 255 ? source : blendOver(source, picture[p], false);
    change += squaredChannels(painted, target[p]) - squaredChannels(picture[p], target[p]);
  });
  return change;
}

std::int64_t squaredDistance(const std::uint32_t* a, const std::uint32_t* b, int n) {
  std::int64_t sum = 0;
  for (int i = 0; i < n; ++i) sum += squaredChannels(a[i], b[i]);
  return sum;
}

double rmsOf(std::int64_t squaredError) {
  return std::sqrt(double(squaredError) / (3.0 * kFieldPixels));
}

}  // namespace orvane
