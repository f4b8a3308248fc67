#pragma once

#include <cstddef>
#include <cstdint>

#include "render/rasteriser.h"
#include "render/texture_sampler.h"

namespace orvane {

// One span of a textured triangle: pixels [x0, x1) of `row`, the first at texel coordinates
// (u, v) (16 fractional bits), each next one (du, dv) further on.
struct SpanCoords {
  int x0 = 0, x1 = 0;
  std::int64_t u = 0, v = 0, du = 0, dv = 0;
};

// Texel coordinates to 16 fractional bits, rounded as std::llround does (halves away from
// zero; out of range or not a number: the lowest value), without the library call.
inline std::int64_t toFixed(double texels) {
  const double x = texels * 65536.0;
  if (!(x > -9.2e18 && x < 9.2e18)) return INT64_MIN;
  const std::int64_t whole = std::int64_t(x);  // toward zero
  const double fraction = x - double(whole);   // exact
  return whole + (fraction >= 0.5) - (fraction <= -0.5);
}

// The spans of a triangle as the renderer shades them: the pixels its pieces cover from row
// firstRow and column firstColumn on, each with the texel coordinates of its first pixel,
// u = toFixed(u(x0 + 0.5, y + 0.5)), and their step along the row, du = toFixed(u.dx); v alike.
struct TriangleSpans {
  const TriangleRows* pieces = nullptr;
  int pieceCount = 0;
  int firstRow = 0, firstColumn = 0;
  AffineMap u, v;
  std::int64_t du = 0, dv = 0;
  // The least and greatest texel coordinates at the triangle's corners.
  double uLow = 0, uHigh = 0, vLow = 0, vHigh = 0;

  // out(y, coords) for the spans in rows [y0, y1).
  template <typename SpanOut>
  void walk(int y0, int y1, SpanOut&& out) const {
    for (int i = 0; i < pieceCount; ++i) {
      pieces[i].walk(y0 > firstRow ? y0 : firstRow, y1, [&](int y, int x0, int x1) {
        if (x0 < firstColumn) x0 = firstColumn;
        if (x1 <= x0) return;
        out(y, SpanCoords{x0, x1, toFixed(u.at(x0 + 0.5, y + 0.5)),
                          toFixed(v.at(x0 + 0.5, y + 0.5)), du, dv});
      });
    }
  }
};

// Shades a span with the filtered sampler (Bilinear or Minified), texel x colour, blended over
// the row as the renderer's rules say. The vector path gives the same bytes as the plain one:
// every step is integer arithmetic, or float arithmetic on integers below 2^24, which is exact.
void shadeFilteredSpan(std::uint32_t* row, const SpanCoords& span, std::uint32_t colour,
                       bool keepAlpha, const SamplerSetup& setup);

// The same for the spans of a triangle in rows [y0, y1), row y being pixels + y * width; what
// the spans share is worked out once.
void shadeFilteredTriangle(std::uint32_t* pixels, std::size_t width, const TriangleSpans& spans,
                           int y0, int y1, std::uint32_t colour, bool keepAlpha,
                           const SamplerSetup& setup);

// The same with the plain per-pixel code only, for comparing the two.
void shadeFilteredSpanPlain(std::uint32_t* row, const SpanCoords& span, std::uint32_t colour,
                            bool keepAlpha, const SamplerSetup& setup);

// The sources shadeFilteredSpan would blend, texel x colour, for pixels [x0, x1) of the span,
// written to out[0 ... x1 - x0); a source of alpha 0, which would leave its pixel alone, is
// written as 0. Blending them over a row with the renderer's rule gives shadeFilteredSpan's row.
void sampleFilteredSpan(std::uint32_t* out, const SpanCoords& span, std::uint32_t colour,
                        const SamplerSetup& setup);
void sampleFilteredSpanPlain(std::uint32_t* out, const SpanCoords& span, std::uint32_t colour,
                             const SamplerSetup& setup);

// Whether shadeFilteredSpan may use the AVX2 path (only where the processor has it); for tests.
void allowVectorShading(bool allowed);
bool vectorShadingAvailable();
// Available and allowed: what the blur's vector path asks too.
bool vectorShadingEnabled();

}  // namespace orvane
