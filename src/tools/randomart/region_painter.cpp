#include "tools/randomart/region_painter.h"

#include <algorithm>
#include <cmath>

#include "catalogue/part_catalogue.h"
#include "formats/parts_atlas.h"
#include "render/span_shader.h"
#include "tools/randomart/genome_rendering.h"

namespace orvane {
namespace {

// The renderer's mapping of a world point with projection and viewport both 192 x 96.
PixelPoint toPixels(WorldPoint p) {
  return {(double(p.x) / float(kFieldWidth) + 0.5) * kFieldWidth,
          (0.5 - double(p.y) / float(kFieldHeight)) * kFieldHeight};
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

bool RegionPainter::create(const PartsAtlasBuffer& atlas) {
  if (atlas.empty()) return false;
  return create(makeTextureFromPixels(1024, 2048, atlas.bytes().data(), PixelFormat::A4R4G4B4, 16));
}

bool RegionPainter::create(TexturePtr atlasTexture) {
  atlas_ = std::move(atlasTexture);
  spans_.reserve(4 * kFieldHeight);
  return atlas_ != nullptr;
}

TexturePtr RegionPainter::makeAtlasTexture(const PartsAtlasBuffer& atlas) {
  if (atlas.empty()) return nullptr;
  TexturePtr texture =
      makeTextureFromPixels(1024, 2048, atlas.bytes().data(), PixelFormat::A4R4G4B4, 16);
  // Levels are made on first use; making them all now leaves nothing to write while sampling.
  if (texture) texture->level(texture->levelCount() - 1);
  return texture;
}

void RegionPainter::coverSpans(const Gene& gene, unsigned triangles,
                               std::vector<Span>& spans) const {
  Triangle tris[2];
  trianglesOf(gene, tris);
  for (int t = 0; t < 2; ++t) {
    if (triangles >> t & 1) coverTriangle(tris[t].p, kFieldWidth, kFieldHeight, spans);
  }
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

void RegionPainter::sampleSources(const Gene& gene, unsigned triangles, std::vector<Span>& spans,
                                  std::vector<std::uint32_t>& sources) {
  if (!atlas_) return;
  const Texture& tex = *atlas_;
  const AtlasCell cell = cellOf(gene.part());
  const TexelRect rect = texelRectOf(tex, cell.u, cell.v, cell.du, cell.dv);
  const std::uint32_t colour = geneColour(gene);
  Triangle tris[2];
  trianglesOf(gene, tris);
  for (int t = 0; t < 2; ++t) {
    if (!(triangles >> t & 1)) continue;
    const Triangle& tri = tris[t];
    spans_.clear();
    coverTriangle(tri.p, kFieldWidth, kFieldHeight, spans_);
    if (spans_.empty()) continue;
    AffineMap mu, mv;
    const double us[3] = {tri.u[0] * tex.width() - 0.5, tri.u[1] * tex.width() - 0.5,
                          tri.u[2] * tex.width() - 0.5};
    const double vs[3] = {tri.v[0] * tex.height() - 0.5, tri.v[1] * tex.height() - 0.5,
                          tri.v[2] * tex.height() - 0.5};
    if (!affineMapOf(tri.p, us, mu) || !affineMapOf(tri.p, vs, mv)) continue;
    // The genome view filters as the editor does: bilinear, or mip-mapped and anisotropic.
    const SamplerSetup setup =
        prepareSampler(tex, rect, TextureFilter::Anisotropic, mu.dx, mv.dx, mu.dy, mv.dy);
    const std::int64_t du = toFixed(mu.dx), dv = toFixed(mv.dx);
    for (const Span& s : spans_) {
      if (s.x1 <= s.x0) continue;
      const SpanCoords coords{
          s.x0, s.x1, toFixed(mu.at(s.x0 + 0.5, s.y + 0.5)), toFixed(mv.at(s.x0 + 0.5, s.y + 0.5)),
          du,   dv};
      const std::size_t at = sources.size();
      sources.resize(at + std::size_t(s.x1 - s.x0));
      sampleFilteredSpan(sources.data() + at, coords, colour, setup);
      spans.push_back(s);
    }
  }
}

}  // namespace orvane
