#pragma once

#include "render/span_shader.h"

namespace orvane {

// Pixels [first, last) of a span, counted from its first pixel.
struct PixelRange {
  int first = 0, last = 0;
};

// Which pixels of a triangle's spans can change: those whose filtered reads can meet a texel of
// alpha above 0, by the extents of visible texels in the sheet read (the rows that hold any,
// and the columns of the rows a span reads). Every other pixel reads clear texels only, so its
// source has alpha 0 and leaves the pixel as it is. The ranges may be wider than needed (by a
// texel or a pixel at each end), never narrower. Made once for a triangle's sampler, and used by
// one thread.
class VisiblePixels {
 public:
  explicit VisiblePixels(const SamplerSetup& setup);
  // Empty (first == last) when no pixel of the span can change.
  PixelRange of(const SpanCoords& span) const;

 private:
  const SamplerSetup& setup_;
  int level_ = 0;
  std::int64_t minU_ = 0, maxU_ = 0, minV_ = 0, maxV_ = 0;  // the taps' offsets
  // The local v range of pixels whose rows can reach the visible rows.
  std::int64_t lowV_ = 0, highV_ = 0;
  // 1 / du and 1 / dv of the last span: a triangle's spans share them.
  mutable std::int64_t du_ = 0, dv_ = 0;
  mutable double inverseDu_ = 0, inverseDv_ = 0;
};

}  // namespace orvane
