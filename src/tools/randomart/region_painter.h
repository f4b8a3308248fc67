#pragma once

#include <cstdint>
#include <vector>

#include "render/rasteriser.h"
#include "render/texture.h"
#include "render/texture_sampler.h"
#include "tools/randomart/gene.h"
#include "tools/randomart/mutation.h"
#include "tools/randomart/pixel_region.h"

namespace orvane {

class PartsAtlasBuffer;

// Samples genes' quads on the 192 x 96 field bit for bit as RenderGenome's drawQuad does on a
// view made by prepareGenomeView: the same pixel positions, snapping, coverage, texture
// gradients and sampler, and texture coordinates stepped pixel by pixel in 16.16 fixed point
// from where each whole span starts, so every pixel gets the texel the renderer would give it.
class RegionPainter {
 public:
  bool create(const PartsAtlasBuffer& atlas);
  // Shares an atlas texture made by makeAtlasTexture, so painters on several threads read one
  // copy; false for none.
  bool create(TexturePtr atlasTexture);

  // The parts atlas as the genome views bind it, with every mip level already made, so that
  // painters on several threads may sample it at once.
  static TexturePtr makeAtlasTexture(const PartsAtlasBuffer& atlas);

  // Appends the spans of the chosen triangles (whole field, in drawing order) and, for each of
  // their pixels, the source the renderer blends there: texel x the gene's colour, 0 where its
  // alpha is 0.
  void sampleSources(const Gene& gene, unsigned triangles, std::vector<Span>& spans,
                     std::vector<std::uint32_t>& sources);
  // Appends the spans alone (whole field, in drawing order), for parts whose texels are all
  // alike and need no sampling.
  void coverSpans(const Gene& gene, unsigned triangles, std::vector<Span>& spans) const;

 private:
  struct Triangle {
    PixelPoint p[3];
    double u[3], v[3];
  };
  // The quad's two triangles in snapped pixel space, with their texture coordinates.
  static void trianglesOf(const Gene& gene, Triangle (&out)[2]);

  TexturePtr atlas_;
  std::vector<Span> spans_;
};

// The pixels a gene can touch, with a pixel to spare on every side: [x0, x1) x [y0, y1).
struct GeneBox {
  int x0, y0, x1, y1;
};
GeneBox geneBox(const Gene& gene);

}  // namespace orvane
