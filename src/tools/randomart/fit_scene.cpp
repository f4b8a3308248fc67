#include "tools/randomart/fit_scene.h"

#include <algorithm>

#include "render/avx2_region.h"
#include "render/span_shader.h"

namespace orvane {
namespace {

constexpr int kPrefixStride = kFieldWidth + 1;

float channelOf(std::uint32_t argb, int c) { return float((argb >> (16 - 8 * c)) & 0xFF); }

// Adds pixel sums in the order ColourSums keeps them: w^2, w^2 d, w^2 d^2, w r, w d r.
void addTerms(ColourSums& sums, const double (&t)[13]) {
  sums.ww += t[0];
  for (int c = 0; c < 3; ++c) {
    sums.wwd[c] += t[1 + c];
    sums.wwdd[c] += t[4 + c];
    sums.wr[c] += t[7 + c];
    sums.wdr[c] += t[10 + c];
  }
}

void accumulatePlain(const float* const (&terms)[FitScene::kTermCount], int p, int n,
                     const std::uint8_t* coverage, double (&out)[13]) {
  for (int i = 0; i < n; ++i) {
    if (coverage[i] == 0) continue;
    const int at = p + i;
    const float w = float(coverage[i]) * (1.0f / 255.0f) * terms[FitScene::kThrough][at];
    const float w2 = w * w;
    out[0] += w2;
    for (int c = 0; c < 3; ++c) {
      out[1 + c] += w2 * terms[FitScene::kBelow + c][at];
      out[4 + c] += w2 * terms[FitScene::kBelowSquared + c][at];
      out[7 + c] += w * terms[FitScene::kResidual + c][at];
      out[10 + c] += w * terms[FitScene::kBelowResidual + c][at];
    }
  }
}

#if defined(__x86_64__)
ORVANE_BEGIN_AVX2_REGION

double horizontalSum(__m256 v) {
  const __m128 half = _mm_add_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
  const __m128 quarter = _mm_add_ps(half, _mm_movehl_ps(half, half));
  return double(_mm_cvtss_f32(_mm_add_ss(quarter, _mm_shuffle_ps(quarter, quarter, 1))));
}

// Eight pixels at a time in float lanes; the last group masked to the pixels left.
void accumulateEights(const float* const (&terms)[FitScene::kTermCount], int p, int n,
                      const std::uint8_t* coverage, double (&out)[13]) {
  __m256 acc[13];
  for (__m256& a : acc) a = _mm256_setzero_ps();
  const __m256 scale = _mm256_set1_ps(1.0f / 255.0f);
  const __m256i laneIndex = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  for (int i = 0; i < n; i += 8) {
    const int left = std::min(8, n - i);
    std::int64_t bytes = 0;
    __builtin_memcpy(&bytes, coverage + i, std::size_t(left));
    if (bytes == 0) continue;
    const __m256i lanes = _mm256_cmpgt_epi32(_mm256_set1_epi32(left), laneIndex);
    auto load = [&](int term) { return _mm256_maskload_ps(terms[term] + p + i, lanes); };
    const __m256 cover = _mm256_cvtepi32_ps(_mm256_cvtepu8_epi32(_mm_cvtsi64_si128(bytes)));
    const __m256 w = _mm256_mul_ps(_mm256_mul_ps(cover, scale), load(FitScene::kThrough));
    const __m256 w2 = _mm256_mul_ps(w, w);
    acc[0] = _mm256_add_ps(acc[0], w2);
    for (int c = 0; c < 3; ++c) {
      acc[1 + c] = _mm256_add_ps(acc[1 + c], _mm256_mul_ps(w2, load(FitScene::kBelow + c)));
      acc[4 + c] = _mm256_add_ps(acc[4 + c], _mm256_mul_ps(w2, load(FitScene::kBelowSquared + c)));
      acc[7 + c] = _mm256_add_ps(acc[7 + c], _mm256_mul_ps(w, load(FitScene::kResidual + c)));
      acc[10 + c] =
          _mm256_add_ps(acc[10 + c], _mm256_mul_ps(w, load(FitScene::kBelowResidual + c)));
    }
  }
  for (int k = 0; k < 13; ++k) out[k] += horizontalSum(acc[k]);
}

ORVANE_END_AVX2_REGION
#endif

// The colour sums of one span of coverage (0 ... 255 per pixel) over the terms from pixel p.
void accumulateSpan(const float* const (&terms)[FitScene::kTermCount], int p, int n,
                    const std::uint8_t* coverage, ColourSums& sums) {
  double t[13] = {};
#if defined(__x86_64__)
  if (vectorShadingEnabled()) {
    accumulateEights(terms, p, n, coverage, t);
    addTerms(sums, t);
    return;
  }
#endif
  accumulatePlain(terms, p, n, coverage, t);
  addTerms(sums, t);
}

}  // namespace

FitScene::FitScene()
    : terms_(std::size_t(kTermCount) * kFieldPixels),
      prefix_(std::size_t(kPrefixStride) * kFieldHeight),
      pickWeight_(kFieldPixels) {}

void FitScene::loadPixel(int p, const std::uint32_t* below, const std::uint32_t* without,
                         float through, const TargetPixels& target) {
  auto at = [&](int term) -> float& { return terms_[std::size_t(term) * kFieldPixels + p]; };
  at(kThrough) = through;
  for (int c = 0; c < 3; ++c) {
    const float d = channelOf(below[p], c);
    const float r = channelOf(without[p], c) - channelOf(target[std::size_t(p)], c);
    at(kBelow + c) = d;
    at(kBelowSquared + c) = d * d;
    at(kResidual + c) = r;
    at(kBelowResidual + c) = d * r;
  }
}

void FitScene::setPicture(const std::uint32_t* picture, const TargetPixels& target) {
  updateRows(picture, target, 0, kFieldHeight);
}

void FitScene::updateRows(const std::uint32_t* picture, const TargetPixels& target, int y0,
                          int y1) {
  y0 = std::max(y0, 0), y1 = std::min(y1, kFieldHeight);
  for (int p = y0 * kFieldWidth; p < y1 * kFieldWidth; ++p) {
    loadPixel(p, picture, picture, 1.0f, target);
  }
  rebuildRows(y0, y1);
  rebuildPicks();
}

void FitScene::setLayered(const std::uint32_t* below, const std::uint32_t* without,
                          const float* through, const TargetPixels& target) {
  for (int p = 0; p < kFieldPixels; ++p) loadPixel(p, below, without, through[p], target);
  rebuildRows(0, kFieldHeight);
  rebuildPicks();
}

void FitScene::rebuildRows(int y0, int y1) {
  const float* w = plane(kThrough);
  for (int y = y0; y < y1; ++y) {
    Prefix* row = &prefix_[std::size_t(y) * kPrefixStride];
    row[0] = {};
    for (int x = 0; x < kFieldWidth; ++x) {
      const int p = y * kFieldWidth + x;
      const double w1 = w[p], w2 = w1 * w1;
      Prefix next = row[x];
      next.sums[0] += w2;
      for (int c = 0; c < 3; ++c) {
        next.sums[1 + c] += w2 * plane(kBelow + c)[p];
        next.sums[4 + c] += w2 * plane(kBelowSquared + c)[p];
        next.sums[7 + c] += w1 * plane(kResidual + c)[p];
        next.sums[10 + c] += w1 * plane(kBelowResidual + c)[p];
      }
      row[x + 1] = next;
    }
  }
}

void FitScene::rebuildPicks() {
  double total = 0;
  for (int p = 0; p < kFieldPixels; ++p) {
    const double w = plane(kThrough)[p];
    double e = 0;
    for (int c = 0; c < 3; ++c) e += double(plane(kResidual + c)[p]) * plane(kResidual + c)[p];
    total += w * w * e;
    pickWeight_[std::size_t(p)] = total;
  }
  totalWeight_ = total;
}

int FitScene::pickPixel(FitRandom& random) const {
  if (!(totalWeight_ > 0)) return int(random.below(kFieldPixels));
  const double at = random.unit() * totalWeight_;
  const auto it = std::upper_bound(pickWeight_.begin(), pickWeight_.end(), at);
  return int(std::min<std::ptrdiff_t>(it - pickWeight_.begin(), kFieldPixels - 1));
}

void FitScene::accumulate(const FitRaster& raster, ColourSums& sums) const {
  if (raster.solid) {
    for (const Span& s : raster.spans) {
      const Prefix& a = prefix_[std::size_t(s.y) * kPrefixStride + std::size_t(s.x0)];
      const Prefix& b = prefix_[std::size_t(s.y) * kPrefixStride + std::size_t(s.x1)];
      double t[13];
      for (int k = 0; k < 13; ++k) t[k] = b.sums[k] - a.sums[k];
      addTerms(sums, t);
    }
    return;
  }
  const float* const terms[kTermCount] = {plane(0),  plane(1),  plane(2), plane(3), plane(4),
                                          plane(5),  plane(6),  plane(7), plane(8), plane(9),
                                          plane(10), plane(11), plane(12)};
  const std::uint8_t* coverage = raster.coverage.data();
  for (const Span& s : raster.spans) {
    const int n = s.x1 - s.x0;
    accumulateSpan(terms, s.y * kFieldWidth + s.x0, n, coverage, sums);
    coverage += n;
  }
}

}  // namespace orvane
