#pragma once

#include <cstdint>
#include <vector>

#include "render/rasteriser.h"
#include "render/texture.h"
#include "tools/randomart/gene.h"
#include "tools/randomart/region_painter.h"

namespace orvane {

// Where a layer's quad draws on the 192 x 96 field and how much of it: the runs of its pixels
// (both triangles, in drawing order) and, for every pixel, the alpha of the texel the renderer
// reads there (0 ... 255), before the layer's own colour and alpha are applied. A solid part
// reads 255 everywhere, so its coverage is not stored.
struct FitRaster {
  std::vector<Span> spans;             // none empty
  std::vector<std::uint8_t> coverage;  // per pixel of the spans in order; empty when solid
  bool solid = false;
  int pixelCount = 0;

  void clear() {
    spans.clear();
    coverage.clear();
    solid = false;
    pixelCount = 0;
  }
  // The rows [rowBegin, rowEnd) the raster touches (its two triangles' spans each run down
  // the rows); an empty range for no pixels.
  int rowBegin() const;
  int rowEnd() const;
};

// A white layer's quad is what the fitting rasterises: with every texel of the fitting's parts
// white, texel x colour is the colour with the texel's alpha scaled, so the coverage decides
// everything. Sampling goes through RegionPainter, so pixels and texels are the renderer's.
class FitRasteriser {
 public:
  // Reads the shared atlas texture (RegionPainter::makeAtlasTexture); false for none.
  bool create(TexturePtr atlasTexture);
  // The gene's quad with its part (colour and alpha ignored) over the whole field. `solid`
  // says the part's texels are all opaque, which skips the texture reads.
  void rasterise(const Gene& gene, bool solid, FitRaster& out);

 private:
  RegionPainter painter_;
  std::vector<Span> spans_;
  std::vector<std::uint32_t> sources_;
};

// A quad the fitting may use: convex (or flat) in the order lt, rt, rb, lb, so its two
// triangles never cover a pixel twice.
bool isConvexQuad(const Gene& gene);

}  // namespace orvane
