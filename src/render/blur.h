#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "render/rasteriser.h"
#include "render/texture.h"

namespace orvane {

// The two-pass Gaussian blur: the normal density with standard deviation 2 at the offsets
// -6 ... 6. The weights sum to 0.998975 and are deliberately not renormalised, so each pass
// scales the picture by that factor.
inline constexpr int kBlurTaps = 13;
inline constexpr std::array<float, kBlurTaps> kBlurWeights = {
    0.002216f, 0.008764f, 0.026995f, 0.064759f, 0.120985f, 0.176033f, 0.199471f,
    0.176033f, 0.120985f, 0.064759f, 0.026995f, 0.008764f, 0.002216f};

// One pass as the renderer sets it up for a triangle of the blur quad.
struct BlurPassSetup {
  const Texture* source = nullptr;
  int pass = 0;           // 0: taps along x, 1: taps along y
  double tapStep = 1;     // source texels per tap offset: source size / g_width (or g_height)
  AffineMap u, v;         // source texel coordinates (centres on integers) over pixel space
  bool minified = false;  // more than one texel per pixel: nearest texel instead of bilinear
};

// Memory for the blur's rows of floats, kept from pass to pass. It is never cleared: BlurRows
// writes each row before reading it.
class BlurScratch {
 public:
  float* reserve(std::size_t floats) {
    if (size_ < floats) floats_.reset(new float[floats]), size_ = floats;
    return floats_.get();
  }
  void release() { floats_.reset(), size_ = 0; }

 private:
  std::unique_ptr<float[]> floats_;
  std::size_t size_ = 0;
};

// The source's rows converted to floats (B, G, R, A per texel, as in memory) on first use, shared
// by the triangles of one pass and by the threads shading it.
class BlurRows {
 public:
  // The rows are kept in `scratch`, which grows to fit them and may be handed to the next
  // BlurRows once this one is gone, so that passes after the first take no memory.
  BlurRows(const Texture& source, BlurScratch& scratch)
      : source_(source),
        texels_(source.pixels()),
        floats_(scratch.reserve(std::size_t(source.width()) * source.height() * 4)),
        made_(new std::once_flag[std::size_t(source.height())]) {}
  const float* row(int y);
  int width() const { return source_.width(); }
  int height() const { return source_.height(); }

 private:
  const Texture& source_;
  const std::uint32_t* texels_;
  float* floats_;  // row y at floats_ + 4 * width * y, made on first use
  std::unique_ptr<std::once_flag[]> made_;
};

// Shades the spans with one blur pass and writes the results without blending.
//
// Rule: each channel (alpha included) of a pixel is the sum, in the order of the taps, of
// weight(k) * sample(coordinate + (k - 6) * tapStep along the pass's axis) as 32-bit floats,
// rounded to nearest and limited to 255. Sampling wraps around both edges of the source and is
// bilinear (float weights), or the nearest texel when minified. A target without alpha keeps
// 0xFF. When the pixels fall on texel centres one to one (the usual case) the taps read texels
// directly, which gives the same numbers faster.
void shadeBlurSpans(const BlurPassSetup& setup, const std::vector<Span>& spans, BlurRows& rows,
                    Texture& target, bool keepAlpha);
// The same for spans [first, last) into the target's texels (width words a row), leaving its
// mip levels alone; threads may shade spans of different rows at once.
void shadeBlurSpanRange(const BlurPassSetup& setup, const Span* first, const Span* last,
                        BlurRows& rows, std::uint32_t* target, int targetWidth, bool keepAlpha);

}  // namespace orvane
