#include "render/blur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "render/avx2_region.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "render/span_shader.h"

namespace orvane {
namespace {

int wrap(std::int64_t i, int size) {
  const std::int64_t m = i % size;
  return int(m < 0 ? m + size : m);
}

std::uint32_t pack(const float (&acc)[4], bool keepAlpha) {
  std::uint32_t out = 0;
  for (int c = 0; c < 4; ++c) {
    const float v = std::min(std::floor(acc[c] + 0.5f), 255.0f);
    out |= std::uint32_t(std::max(v, 0.0f)) << (8 * c);
  }
  return keepAlpha ? out : (out | 0xFF000000u);
}

// Bilinear (or nearest) read with wrap addressing, at texel coordinates with centres on integers.
void sampleWrapped(BlurRows& rows, double u, double v, bool nearest, float (&out)[4]) {
  const int w = rows.width(), h = rows.height();
  if (nearest) {
    const float* texel = rows.row(wrap(std::int64_t(std::floor(v + 0.5)), h)) +
                         4 * wrap(std::int64_t(std::floor(u + 0.5)), w);
    for (int c = 0; c < 4; ++c) out[c] = texel[c];
    return;
  }
  const double fu0 = std::floor(u), fv0 = std::floor(v);
  const float fu = float(u - fu0), fv = float(v - fv0);
  const int x0 = wrap(std::int64_t(fu0), w), x1 = wrap(std::int64_t(fu0) + 1, w);
  const float* r0 = rows.row(wrap(std::int64_t(fv0), h));
  const float* r1 = rows.row(wrap(std::int64_t(fv0) + 1, h));
  for (int c = 0; c < 4; ++c) {
    const float top = r0[4 * x0 + c] * (1 - fu) + r0[4 * x1 + c] * fu;
    const float bottom = r1[4 * x0 + c] * (1 - fu) + r1[4 * x1 + c] * fu;
    out[c] = top * (1 - fv) + bottom * fv;
  }
}

bool isWhole(double x) { return std::abs(x - std::round(x)) < 1e-6; }

// True when every pixel centre of the triangle falls on a texel centre, one texel per pixel
// step, with whole-texel tap steps: then each tap is one texel read.
bool alignedOneToOne(const BlurPassSetup& s) {
  return s.u.dx == 1 && s.u.dy == 0 && s.v.dx == 0 && s.v.dy == 1 && isWhole(s.tapStep) &&
         isWhole(s.u.value0 + 0.5) && isWhole(s.v.value0 + 0.5);
}

#if defined(__x86_64__)
ORVANE_BEGIN_AVX2_REGION
// The taps of eight pixels, two to a register, each pixel's sum in the order of the taps as in
// the plain loop: the same numbers, four independent sums in flight.
void blurEightAvx2(const float* const (&tapTexels)[kBlurTaps], int i, bool keepAlpha,
                   std::uint32_t* out) {
  // Four sums in registers, the taps unrolled (kept in an array, the sums would live in memory).
  __m256 sum0 = _mm256_setzero_ps(), sum1 = sum0, sum2 = sum0, sum3 = sum0;
#pragma GCC unroll 13
  for (int k = 0; k < kBlurTaps; ++k) {
    const __m256 weight = _mm256_set1_ps(kBlurWeights[k]);
    const float* texels = tapTexels[k] + 4 * i;
    sum0 = _mm256_add_ps(sum0, _mm256_mul_ps(weight, _mm256_loadu_ps(texels)));
    sum1 = _mm256_add_ps(sum1, _mm256_mul_ps(weight, _mm256_loadu_ps(texels + 8)));
    sum2 = _mm256_add_ps(sum2, _mm256_mul_ps(weight, _mm256_loadu_ps(texels + 16)));
    sum3 = _mm256_add_ps(sum3, _mm256_mul_ps(weight, _mm256_loadu_ps(texels + 24)));
  }
  const __m256 sum[4] = {sum0, sum1, sum2, sum3};
  const __m256 half = _mm256_set1_ps(0.5f);
  const __m256i q01 = _mm256_packs_epi32(_mm256_cvttps_epi32(_mm256_add_ps(sum[0], half)),
                                         _mm256_cvttps_epi32(_mm256_add_ps(sum[1], half)));
  const __m256i q23 = _mm256_packs_epi32(_mm256_cvttps_epi32(_mm256_add_ps(sum[2], half)),
                                         _mm256_cvttps_epi32(_mm256_add_ps(sum[3], half)));
  // The packs work within 128-bit halves: restore the pixel order afterwards.
  __m256i bytes = _mm256_packus_epi16(q01, q23);
  bytes = _mm256_permutevar8x32_epi32(bytes, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
  if (!keepAlpha) bytes = _mm256_or_si256(bytes, _mm256_set1_epi32(int(0xFF000000u)));
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), bytes);
}

// Texels to floats, eight channels at a time.
void texelsToFloatsAvx2(const std::uint32_t* in, float* out, int count) {
  int x = 0;
  for (; x + 2 <= count; x += 2) {
    const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + x));
    _mm256_storeu_ps(out + 4 * x, _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(two)));
  }
  for (; x < count; ++x) {
    for (int c = 0; c < 4; ++c) out[4 * x + c] = float((in[x] >> (8 * c)) & 0xFF);
  }
}
ORVANE_END_AVX2_REGION

#endif

void shadeAligned(const BlurPassSetup& s, BlurRows& rows, const Span& span, std::uint32_t* target,
                  int targetWidth, bool keepAlpha, std::vector<float>& acc) {
  const int w = rows.width(), h = rows.height();
  const int len = span.x1 - span.x0;
  const std::int64_t u0 = std::llround(s.u.at(span.x0 + 0.5, span.y + 0.5));
  const std::int64_t v0 = std::llround(s.v.at(span.x0 + 0.5, span.y + 0.5));
  const std::int64_t step = std::llround(s.tapStep);
  std::uint32_t* out = target + std::size_t(span.y) * targetWidth + span.x0;
#if defined(__SSE2__)
  // Each tap's texels for the span, when none of them wraps: sum the taps pixel by pixel in
  // registers, in the same order and arithmetic as below.
  const float* tapTexels[kBlurTaps];
  bool contiguous = true;
  for (int k = 0; k < kBlurTaps && contiguous; ++k) {
    const std::int64_t offset = (k - kBlurTaps / 2) * step;
    const int start = wrap(s.pass == 0 ? u0 + offset : u0, w);
    contiguous = start + len <= w;
    tapTexels[k] = rows.row(wrap(s.pass == 0 ? v0 : v0 + offset, h)) + 4 * start;
  }
  if (contiguous) {
    const __m128i alpha = _mm_set1_epi32(keepAlpha ? 0 : int(0xFF000000u));
    int i = 0;
#if defined(__x86_64__)
    if (vectorShadingEnabled()) {
      for (; i + 8 <= len; i += 8) blurEightAvx2(tapTexels, i, keepAlpha, out + i);
    }
#endif
    for (; i < len; ++i) {
      __m128 sum = _mm_setzero_ps();
      for (int k = 0; k < kBlurTaps; ++k) {
        sum = _mm_add_ps(
            sum, _mm_mul_ps(_mm_set1_ps(kBlurWeights[k]), _mm_loadu_ps(tapTexels[k] + 4 * i)));
      }
      // floor(sum + 0.5) (sums are never negative), limited to 255 by the saturating packs.
      const __m128i q = _mm_cvttps_epi32(_mm_add_ps(sum, _mm_set1_ps(0.5f)));
      const __m128i words = _mm_packs_epi32(q, q);
      out[i] =
          std::uint32_t(_mm_cvtsi128_si32(_mm_or_si128(_mm_packus_epi16(words, words), alpha)));
    }
    return;
  }
#endif
  acc.assign(std::size_t(len) * 4, 0.0f);
  float* a = acc.data();
  for (int k = 0; k < kBlurTaps; ++k) {
    const float weight = kBlurWeights[k];
    const std::int64_t offset = (k - kBlurTaps / 2) * step;
    const std::int64_t rowIndex = s.pass == 0 ? v0 : v0 + offset;
    const std::int64_t first = s.pass == 0 ? u0 + offset : u0;
    const float* row = rows.row(wrap(rowIndex, h));
    const int start = wrap(first, w);
    if (start + len <= w) {
      const float* src = row + 4 * start;
      for (int i = 0; i < len * 4; ++i) a[i] += weight * src[i];
    } else {
      for (int i = 0; i < len; ++i) {
        const float* src = row + 4 * wrap(first + i, w);
        for (int c = 0; c < 4; ++c) a[4 * i + c] += weight * src[c];
      }
    }
  }
  for (int i = 0; i < len; ++i) {
    const float px[4] = {a[4 * i], a[4 * i + 1], a[4 * i + 2], a[4 * i + 3]};
    out[i] = pack(px, keepAlpha);
  }
}

void shadeGeneral(const BlurPassSetup& s, BlurRows& rows, const Span& span, std::uint32_t* target,
                  int targetWidth, bool keepAlpha) {
  std::uint32_t* out = target + std::size_t(span.y) * targetWidth;
  for (int x = span.x0; x < span.x1; ++x) {
    const double u = s.u.at(x + 0.5, span.y + 0.5), v = s.v.at(x + 0.5, span.y + 0.5);
    float acc[4] = {0, 0, 0, 0};
    for (int k = 0; k < kBlurTaps; ++k) {
      const double offset = (k - kBlurTaps / 2) * s.tapStep;
      float texel[4];
      sampleWrapped(rows, s.pass == 0 ? u + offset : u, s.pass == 0 ? v : v + offset, s.minified,
                    texel);
      for (int c = 0; c < 4; ++c) acc[c] += kBlurWeights[k] * texel[c];
    }
    out[x] = pack(acc, keepAlpha);
  }
}

}  // namespace

const float* BlurRows::row(int y) {
  const int w = source_.width();
  float* r = floats_ + std::size_t(y) * w * 4;
  std::call_once(made_[std::size_t(y)], [&] {
    const std::uint32_t* in = texels_ + std::size_t(y) * w;
#if defined(__x86_64__)
    if (vectorShadingEnabled()) {
      texelsToFloatsAvx2(in, r, w);
      return;
    }
#endif
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 4; ++c) r[4 * x + c] = float((in[x] >> (8 * c)) & 0xFF);
    }
  });
  return r;
}

void shadeBlurSpanRange(const BlurPassSetup& setup, const Span* first, const Span* last,
                        BlurRows& rows, std::uint32_t* target, int targetWidth, bool keepAlpha) {
  if (!setup.source || setup.source->width() < 1 || setup.source->height() < 1) return;
  const bool aligned = alignedOneToOne(setup);
  std::vector<float> acc;
  for (const Span* span = first; span != last; ++span) {
    if (aligned) {
      shadeAligned(setup, rows, *span, target, targetWidth, keepAlpha, acc);
    } else {
      shadeGeneral(setup, rows, *span, target, targetWidth, keepAlpha);
    }
  }
}

void shadeBlurSpans(const BlurPassSetup& setup, const std::vector<Span>& spans, BlurRows& rows,
                    Texture& target, bool keepAlpha) {
  shadeBlurSpanRange(setup, spans.data(), spans.data() + spans.size(), rows, target.pixels(),
                     target.width(), keepAlpha);
  target.invalidateMips();
}

}  // namespace orvane
