#pragma once

#include <cstddef>
#include <cstdint>

#include "render/texture_sampler.h"

namespace orvane {

// One span of a textured triangle: pixels [x0, x1) of `row`, the first at texel coordinates
// (u, v) (16 fractional bits), each next one (du, dv) further on.
struct SpanCoords {
  int x0 = 0, x1 = 0;
  std::int64_t u = 0, v = 0, du = 0, dv = 0;
};

// A span of a triangle in row y.
struct RowSpan {
  int y = 0;
  SpanCoords coords;
};

// Shades a span with the filtered sampler (Bilinear or Minified), texel x colour, blended over
// the row as the renderer's rules say. The vector path gives the same bytes as the plain one:
// every step is integer arithmetic, or float arithmetic on integers below 2^24, which is exact.
void shadeFilteredSpan(std::uint32_t* row, const SpanCoords& span, std::uint32_t colour,
                       bool keepAlpha, const SamplerSetup& setup);

// The same for the spans [first, last) of one triangle that lie in rows [rowBegin, rowEnd),
// row y being pixels + y * width; what the spans share is worked out once.
void shadeFilteredSpans(std::uint32_t* pixels, std::size_t width, const RowSpan* first,
                        const RowSpan* last, int rowBegin, int rowEnd, std::uint32_t colour,
                        bool keepAlpha, const SamplerSetup& setup);

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
