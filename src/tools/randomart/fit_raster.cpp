#include "tools/randomart/fit_raster.h"

#include <algorithm>

namespace orvane {

int FitRaster::rowBegin() const {
  int begin = spans.empty() ? 0 : kFieldHeight;
  for (const Span& s : spans) begin = std::min(begin, s.y);
  return begin;
}

int FitRaster::rowEnd() const {
  int end = 0;
  for (const Span& s : spans) end = std::max(end, s.y + 1);
  return end;
}

bool FitRasteriser::create(TexturePtr atlasTexture) {
  spans_.reserve(4 * kFieldHeight);
  sources_.reserve(2 * kFieldPixels);
  return painter_.create(std::move(atlasTexture));
}

void FitRasteriser::rasterise(const Gene& gene, bool solid, FitRaster& out) {
  out.clear();
  out.solid = solid;
  Gene white = gene;
  // All three channels 63 and alpha 7: colour 0xFFFFFFFF, which leaves each texel as it is.
  white.attributes |= ((1u << kAlphaShift) - 1) | (((1u << kAlphaBits) - 1) << kAlphaShift);
  spans_.clear();
  if (solid) {
    painter_.coverSpans(white, kBothTriangles, spans_);
    for (const Span& s : spans_) {
      if (s.x1 <= s.x0) continue;
      out.spans.push_back(s);
      out.pixelCount += s.x1 - s.x0;
    }
    return;
  }
  sources_.clear();
  painter_.sampleSources(white, kBothTriangles, spans_, sources_);
  out.spans.assign(spans_.begin(), spans_.end());
  out.coverage.resize(sources_.size());
  std::transform(sources_.begin(), sources_.end(), out.coverage.begin(),
                 [](std::uint32_t source) { return std::uint8_t(source >> 24); });
  out.pixelCount = int(sources_.size());
}

bool isConvexQuad(const Gene& g) {
  // The outline lt (0), rt (2), rb (3), lb (1).
  static constexpr int kOrder[4] = {0, 2, 3, 1};
  int sign = 0;
  for (int i = 0; i < 4; ++i) {
    const int a = kOrder[i], b = kOrder[(i + 1) % 4], c = kOrder[(i + 2) % 4];
    const int cross = (g.x(b) - g.x(a)) * (g.y(c) - g.y(b)) - (g.y(b) - g.y(a)) * (g.x(c) - g.x(b));
    if (cross == 0) continue;
    const int s = cross > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return false;
    sign = s;
  }
  return true;
}

}  // namespace orvane
