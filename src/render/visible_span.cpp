#include "render/visible_span.h"

#include <algorithm>

namespace orvane {
namespace {

constexpr std::int64_t kHalf = 0x8000;
constexpr std::int64_t kFar = std::int64_t(1) << 60;

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

// The coordinates w of a read whose clamped range [clamp(texelIndex(w + minTap)),
// clamp(texelIndex(w + maxTap) + 1)] can reach the extent [first, last] of `size` texels, taken
// one texel wider on each side; the clamping alone reaches an extent at the edge.
void reaching(int first, int last, int size, int l, std::int64_t minTap, std::int64_t maxTap,
              std::int64_t& low, std::int64_t& high) {
  low = first - 1 <= 0 ? -kFar : firstAtLeast(first - 2, l) - maxTap;
  high = last + 1 >= size - 1 ? kFar : lastAtMost(last + 1, l) - minTap;
}

// Narrows [first, last] to the k with start + k * step in [low, high], give or take one
// (`inverse` is 1 / step).
void keepWithin(std::int64_t start, std::int64_t step, double inverse, std::int64_t low,
                std::int64_t high, double& first, double& last) {
  if (step == 0) {
    if (start < low || start > high) last = -1;
    return;
  }
  const double a = double(low - start) * inverse, b = double(high - start) * inverse;
  first = std::max(first, std::min(a, b) - 1);
  last = std::min(last, std::max(a, b) + 1);
}

}  // namespace

VisiblePixels::VisiblePixels(const SamplerSetup& setup) : setup_(setup) {
  if (setup.kind == SamplerSetup::Kind::Minified) {
    level_ = setup.levelIndex;
    minU_ = maxU_ = setup.tapU[0], minV_ = maxV_ = setup.tapV[0];
    for (int k = 1; k < setup.taps; ++k) {
      minU_ = std::min(minU_, setup.tapU[k]), maxU_ = std::max(maxU_, setup.tapU[k]);
      minV_ = std::min(minV_, setup.tapV[k]), maxV_ = std::max(maxV_, setup.tapV[k]);
    }
  }
  const TexelSheet& s = *setup.sheet;
  reaching(s.firstRow, s.lastRow, s.height, level_, minV_, maxV_, lowV_, highV_);
}

PixelRange VisiblePixels::of(const SpanCoords& span) const {
  const TexelSheet& s = *setup_.sheet;
  const int n = span.x1 - span.x0;
  if (n <= 0 || !s.anyVisible()) return {};
  if (s.allVisible) return {0, n};
  const std::int64_t u0 = setup_.localU(span.u), v0 = setup_.localV(span.v);
  // The visible columns of the rows the span can read (clamped as reads are).
  const std::int64_t vEnd = v0 + std::int64_t(n - 1) * span.dv;
  const std::int64_t rowLow = texelIndex(std::min(v0, vEnd) + minV_, level_);
  const std::int64_t rowHigh = texelIndex(std::max(v0, vEnd) + maxV_, level_) + 1;
  const int r0 = std::max(int(std::clamp<std::int64_t>(rowLow, 0, s.height - 1)), s.firstRow);
  const int r1 = std::min(int(std::clamp<std::int64_t>(rowHigh, 0, s.height - 1)), s.lastRow);
  if (r0 > r1) return {};
  int columnFirst, columnLast;
  s.extentOfRows(r0, r1, columnFirst, columnLast);
  if (columnFirst > columnLast) return {};
  std::int64_t lowU, highU;
  reaching(columnFirst, columnLast, s.width, level_, minU_, maxU_, lowU, highU);
  if (span.du != du_) du_ = span.du, inverseDu_ = du_ == 0 ? 0 : 1.0 / double(du_);
  if (span.dv != dv_) dv_ = span.dv, inverseDv_ = dv_ == 0 ? 0 : 1.0 / double(dv_);
  double first = 0, last = n - 1;
  keepWithin(u0, span.du, inverseDu_, lowU, highU, first, last);
  keepWithin(v0, span.dv, inverseDv_, lowV_, highV_, first, last);
  // Truncation keeps the range as wide: first >= 0 rounds down, last + 1 > the true last.
  if (first > last) return {};
  return {int(first), int(last) + 1};
}

}  // namespace orvane
