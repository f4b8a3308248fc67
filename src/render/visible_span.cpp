#include "render/visible_span.h"

#include <algorithm>

namespace orvane {
namespace {

constexpr std::int64_t kHalf = 0x8000;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}
std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return -floorDiv(-a, b); }

// The texel index of a bilinear read's first texel on level l, for level-0 coordinate w (the
// tap's offset included): ((w + half) >> l) - half, then rounded to 8 fractional bits.
std::int64_t texelIndex(std::int64_t w, int l) {
  return ((((w + kHalf) >> l) - kHalf) + 0x80) >> 16;
}

// The largest w whose texelIndex is at most e, and the smallest whose texelIndex is at least e.
std::int64_t lastAtMost(std::int64_t e, int l) {
  const std::int64_t m = (e + 1) * 65536 - 0x81 + kHalf;
  return (m + 1) * (std::int64_t(1) << l) - kHalf - 1;
}
std::int64_t firstAtLeast(std::int64_t e, int l) {
  const std::int64_t n = e * 65536 - 0x80 + kHalf;
  return n * (std::int64_t(1) << l) - kHalf;
}

// Narrows [first, last] to the k with start + k * step in [low, high].
void keepWithin(std::int64_t start, std::int64_t step, std::int64_t low, std::int64_t high,
                std::int64_t& first, std::int64_t& last) {
  if (step == 0) {
    if (start < low || start > high) last = first - 1;
    return;
  }
  std::int64_t from, to;
  if (step > 0) {
    from = ceilDiv(low - start, step), to = floorDiv(high - start, step);
  } else {
    from = ceilDiv(high - start, step), to = floorDiv(low - start, step);
  }
  first = std::max(first, from), last = std::min(last, to);
}

}  // namespace

PixelRange visiblePixels(const SpanCoords& span, const SamplerSetup& setup) {
  const TexelSheet& s = *setup.sheet;
  const int n = span.x1 - span.x0;
  if (n <= 0 || !s.anyVisible()) return {};
  const int l = setup.kind == SamplerSetup::Kind::Minified ? setup.levelIndex : 0;
  const int taps = setup.kind == SamplerSetup::Kind::Minified ? setup.taps : 1;
  std::int64_t minU = 0, maxU = 0, minV = 0, maxV = 0;
  if (setup.kind == SamplerSetup::Kind::Minified) {
    minU = maxU = setup.tapU[0], minV = maxV = setup.tapV[0];
    for (int k = 1; k < taps; ++k) {
      minU = std::min(minU, setup.tapU[k]), maxU = std::max(maxU, setup.tapU[k]);
      minV = std::min(minV, setup.tapV[k]), maxV = std::max(maxV, setup.tapV[k]);
    }
  }
  const std::int64_t u0 = setup.localU(span.u), v0 = setup.localV(span.v);
  // The rows the span can read, clamped as reads are, one more on each side.
  const std::int64_t vEnd = v0 + std::int64_t(n - 1) * span.dv;
  const std::int64_t rowLow = texelIndex(std::min(v0, vEnd) + minV, l) - 1;
  const std::int64_t rowHigh = texelIndex(std::max(v0, vEnd) + maxV, l) + 2;
  const int r0 = std::max(int(std::clamp<std::int64_t>(rowLow, 0, s.height - 1)), s.firstRow);
  const int r1 = std::min(int(std::clamp<std::int64_t>(rowHigh, 0, s.height - 1)), s.lastRow);
  int columnFirst = s.width, columnLast = -1;
  for (int r = r0; r <= r1; ++r) {
    columnFirst = std::min<int>(columnFirst, s.first[r]);
    columnLast = std::max<int>(columnLast, s.last[r]);
  }
  if (columnFirst > columnLast) return {};
  // A pixel reads columns clamp(texelIndex(u + minU)) to clamp(texelIndex(u + maxU) + 1), and
  // rows alike. It can meet a visible texel only when that range reaches the visible extent,
  // taken here one texel wider on each side: the last index at least the extent's first, the
  // first at most its last, where the clamping does not already make it so.
  std::int64_t first = 0, last = n - 1;
  auto reach = [&](std::int64_t start, std::int64_t step, int extentFirst, int extentLast, int size,
                   std::int64_t minTap, std::int64_t maxTap) {
    constexpr std::int64_t kFar = std::int64_t(1) << 60;
    const std::int64_t low =
        extentFirst - 1 <= 0 ? -kFar : firstAtLeast(extentFirst - 2, l) - maxTap;
    const std::int64_t high =
        extentLast + 1 >= size - 1 ? kFar : lastAtMost(extentLast + 1, l) - minTap;
    keepWithin(start, step, low, high, first, last);
  };
  reach(u0, span.du, columnFirst, columnLast, s.width, minU, maxU);
  reach(v0, span.dv, s.firstRow, s.lastRow, s.height, minV, maxV);
  if (first > last) return {};
  return {int(first), int(last + 1)};
}

}  // namespace orvane
