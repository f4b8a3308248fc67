#include "tools/randomart/region_painter.h"

#include <algorithm>
#include <cmath>

#include "formats/parts_atlas.h"
#include "render/part_catalogue.h"
#include "tools/randomart/genome_rendering.h"

namespace orvane {
namespace {

std::int64_t toFixed(double texels) { return std::llround(texels * 65536.0); }

// The renderer's mapping of a world point with projection and viewport both 192 x 96.
PixelPoint toPixels(WorldPoint p) {
  return {(double(p.x) / float(kFieldWidth) + 0.5) * kFieldWidth,
          (0.5 - double(p.y) / float(kFieldHeight)) * kFieldHeight};
}

// Calls visit(y, x, texel) for pixels [a, b) of a span of row y whose texture coordinates at its
// first pixel x0 are (u, v), stepping them as the whole span would.
template <typename TexelAt, typename Visit>
void visitRun(int y, int x0, int a, int b, std::int64_t u, std::int64_t v, std::int64_t du,
              std::int64_t dv, TexelAt texelAt, Visit& visit) {
  u += du * (a - x0);
  v += dv * (a - x0);
  for (int x = a; x < b; ++x, u += du, v += dv) visit(y, x, texelAt(u, v));
}

}  // namespace

GeneBox geneBox(const Gene& g) {
  int minX = g.x(0), maxX = g.x(0), minY = g.y(0), maxY = g.y(0);
  for (int v = 1; v < 4; ++v) {
    minX = std::min<int>(minX, g.x(v)), maxX = std::max<int>(maxX, g.x(v));
    minY = std::min<int>(minY, g.y(v)), maxY = std::max<int>(maxY, g.y(v));
  }
  // Emblem x lands on pixel-space x + 96 and y on y + 48; pixel centres sit at i + 0.5.
  return {minX + kFieldWidth / 2 - 1, minY + kFieldHeight / 2 - 1, maxX + kFieldWidth / 2 + 1,
          maxY + kFieldHeight / 2 + 1};
}

bool RegionPainter::create(const PartsAtlasBuffer& atlas, TextureFilter filter) {
  if (atlas.empty()) return false;
  atlas_ = makeTextureFromPixels(1024, 2048, atlas.bytes().data(), PixelFormat::A4R4G4B4, 16);
  filter_ = filter;
  spans_.reserve(4 * kFieldHeight);
  return atlas_ != nullptr;
}

void RegionPainter::trianglesOf(const Gene& gene, Triangle (&out)[2]) {
  const GeneQuad q = geneQuad(gene);
  const AtlasCell c = cellOf(gene.part());
  const PixelPoint plt = snapToSubpixel(toPixels(q.lt)), plb = snapToSubpixel(toPixels(q.lb));
  const PixelPoint prt = snapToSubpixel(toPixels(q.rt)), prb = snapToSubpixel(toPixels(q.rb));
  const double u0 = c.u, u1 = double(c.u) + c.du, v0 = c.v, v1 = double(c.v) + c.dv;
  out[0] = {{plb, plt, prb}, {u0, u0, u1}, {v1, v0, v1}};
  out[1] = {{plt, prb, prt}, {u0, u1, u1}, {v0, v1, v0}};
}

template <typename Visit>
void RegionPainter::forEachTexel(const Gene& gene, unsigned triangles, const PixelRegion* clip,
                                 int rowBegin, int rowEnd, Visit&& visit) {
  rowBegin = std::max(rowBegin, 0), rowEnd = std::min(rowEnd, kFieldHeight);
  if (!atlas_ || rowEnd <= rowBegin) return;
  const Texture& tex = *atlas_;
  const AtlasCell cell = cellOf(gene.part());
  const TexelRect rect = texelRectOf(tex, cell.u, cell.v, cell.du, cell.dv);
  Triangle tris[2];
  trianglesOf(gene, tris);
  for (int t = 0; t < 2; ++t) {
    if (!(triangles >> t & 1)) continue;
    const Triangle& tri = tris[t];
    // Coverage of the rows asked for only: the triangle moved up by rowBegin whole pixels
    // (exact on snapped positions) covers the same pixels, rowBegin rows higher.
    const PixelPoint moved[3] = {{tri.p[0].x, tri.p[0].y - rowBegin},
                                 {tri.p[1].x, tri.p[1].y - rowBegin},
                                 {tri.p[2].x, tri.p[2].y - rowBegin}};
    spans_.clear();
    coverTriangle(moved, kFieldWidth, rowEnd - rowBegin, spans_);
    if (spans_.empty()) continue;
    AffineMap mu, mv;
    const double us[3] = {tri.u[0] * tex.width() - 0.5, tri.u[1] * tex.width() - 0.5,
                          tri.u[2] * tex.width() - 0.5};
    const double vs[3] = {tri.v[0] * tex.height() - 0.5, tri.v[1] * tex.height() - 0.5,
                          tri.v[2] * tex.height() - 0.5};
    if (!affineMapOf(tri.p, us, mu) || !affineMapOf(tri.p, vs, mv)) continue;
    const SamplerSetup setup = prepareSampler(tex, rect, filter_, mu.dx, mv.dx, mu.dy, mv.dy);
    const std::int64_t du = toFixed(mu.dx), dv = toFixed(mv.dx);
    auto nearest = [&](std::int64_t tu, std::int64_t tv) {
      return sampleNearest(setup.level0, setup.rect, tu, tv);
    };
    auto bilinear = [&](std::int64_t tu, std::int64_t tv) {
      return sampleBilinear<true>(setup.level0, setup.rect, tu, tv);
    };
    auto minified = [&](std::int64_t tu, std::int64_t tv) { return sampleMinified(setup, tu, tv); };
    for (const Span& s : spans_) {
      const int y = s.y + rowBegin;
      const std::int64_t u = toFixed(mu.at(s.x0 + 0.5, y + 0.5));
      const std::int64_t v = toFixed(mv.at(s.x0 + 0.5, y + 0.5));
      auto run = [&](int a, int b) {
        switch (setup.kind) {
          case SamplerSetup::Kind::Nearest:
            visitRun(y, s.x0, a, b, u, v, du, dv, nearest, visit);
            break;
          case SamplerSetup::Kind::Bilinear:
            visitRun(y, s.x0, a, b, u, v, du, dv, bilinear, visit);
            break;
          case SamplerSetup::Kind::Minified:
            visitRun(y, s.x0, a, b, u, v, du, dv, minified, visit);
            break;
        }
      };
      if (clip) {
        clip->forEachRun(y, s.x0, s.x1, run);
      } else {
        run(s.x0, s.x1);
      }
    }
  }
}

void RegionPainter::sampleTexels(const Gene& gene, unsigned triangles, std::vector<Span>& spans,
                                 std::vector<std::uint32_t>& texels) {
  // Pixels that follow each other in a row join one span; a new call starts a new one.
  bool first = true;
  forEachTexel(gene, triangles, nullptr, 0, kFieldHeight, [&](int y, int x, std::uint32_t texel) {
    if (first || spans.back().y != y || spans.back().x1 != x) {
      spans.push_back({y, x, x + 1});
      first = false;
    } else {
      ++spans.back().x1;
    }
    texels.push_back(texel);
  });
}

}  // namespace orvane
