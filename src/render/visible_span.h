#pragma once

#include "render/span_shader.h"

namespace orvane {

// The pixels [first, last) of a span (counted from its first pixel) whose filtered reads can
// meet a texel of alpha above 0, by the extents of visible texels in the sheet read (the rows
// that hold any, and the columns of the rows the span reads). Every other pixel of the span
// reads clear texels only, so its source has alpha 0 and leaves the pixel as it is. Empty
// (first == last) when none can; the range may be wider than needed, never narrower.
struct PixelRange {
  int first = 0, last = 0;
};
PixelRange visiblePixels(const SpanCoords& span, const SamplerSetup& setup);

}  // namespace orvane
