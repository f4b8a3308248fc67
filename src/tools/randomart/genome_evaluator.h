#pragma once

#include <cstdint>
#include <vector>

#include "render/renderer.h"
#include "tools/randomart/gene_raster_cache.h"
#include "tools/randomart/genome_rendering.h"
#include "tools/randomart/mutation.h"
#include "tools/randomart/pixel_region.h"
#include "tools/randomart/region_painter.h"

namespace orvane {

class PartsAtlasBuffer;

// Draws candidates and measures them against the target for the evolution loop, keeping the
// best genome's picture. Used by one thread.
class GenomeEvaluator {
 public:
  virtual ~GenomeEvaluator() = default;
  // Draws `best` in full and makes it the best picture; its error, or -1 without a target.
  // The target must stay alive and unchanged until the next reset.
  virtual std::int32_t reset(const Genome& best, const TargetPixels& target) = 0;
  // Draws the candidate, which is the best genome after the mutation `log` describes, and
  // returns its error (-1 without a target).
  virtual std::int32_t evaluate(const Genome& candidate, const MutationLog& log) = 0;
  // The candidate's picture becomes the best picture, or is dropped.
  virtual void accept() = 0;
  virtual void reject() = 0;
  virtual PixelView candidatePicture() const = 0;
  virtual PixelView bestPicture() const = 0;
};

// The reference: every candidate drawn whole on the simulation view and all 18,432 pixels
// compared; an accepted genome drawn again on the best view. Both views shade on one thread.
class PlainEvaluator final : public GenomeEvaluator {
 public:
  bool create(const PartsAtlasBuffer& atlas);
  std::int32_t reset(const Genome& best, const TargetPixels& target) override;
  std::int32_t evaluate(const Genome& candidate, const MutationLog& log) override;
  void accept() override;
  void reject() override {}
  PixelView candidatePicture() const override { return simulationView_.backBuffer(); }
  PixelView bestPicture() const override { return bestView_.backBuffer(); }

 private:
  Renderer simulationView_;
  Renderer bestView_;
  const TargetPixels* target_ = nullptr;
  const Genome* candidate_ = nullptr;
};

// The fast path with the same results: only the pixels the genes a mutation touched really
// write (where they were and where they are) are drawn again, every gene clipped to them, and
// the error is the best picture's error with those pixels' old distance replaced by their new
// one. Each gene's sources are kept (GeneRasterCache), so redrawing a pixel costs a blend per
// gene instead of a texture lookup. Once warm, memory is taken only when a recycled
// raster must grow for a larger gene.
class IncrementalEvaluator final : public GenomeEvaluator {
 public:
  bool create(const PartsAtlasBuffer& atlas);
  std::int32_t reset(const Genome& best, const TargetPixels& target) override;
  std::int32_t evaluate(const Genome& candidate, const MutationLog& log) override;
  void accept() override;
  void reject() override;
  PixelView candidatePicture() const override;
  PixelView bestPicture() const override;

 private:
  // Copies the region's pixels from one picture to the other.
  void copyRegion(const std::vector<std::uint32_t>& from, std::vector<std::uint32_t>& to) const;

  Renderer view_;  // draws whole genomes on reset
  RegionPainter painter_;
  GeneRasterCache rasters_{painter_};
  PixelRegion region_;
  std::vector<std::uint32_t> best_;  // the best genome's picture
  std::vector<std::uint32_t> work_;  // the candidate's picture; equals best_ outside region_
  const TargetPixels* target_ = nullptr;
  std::int32_t bestError_ = -1;
  std::int32_t candidateError_ = -1;
  bool pending_ = false;  // a candidate was measured and neither accepted nor rejected
};

}  // namespace orvane
