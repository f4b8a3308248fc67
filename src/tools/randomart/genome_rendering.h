#pragma once

#include <cstdint>
#include <vector>

#include "render/renderer.h"
#include "tools/randomart/gene.h"

namespace orvane {

class PartsAtlasBuffer;

// The field every analysis runs on: the standard emblem's 192 x 96 pixels, whatever output size
// the user chose (that size only travels with the state and its DNA files).
inline constexpr int kFieldWidth = 192;
inline constexpr int kFieldHeight = 96;
inline constexpr int kFieldPixels = kFieldWidth * kFieldHeight;
// The largest possible distance: every channel of every pixel 255 apart (14,100,480).
inline constexpr std::int32_t kMaxFieldError = kFieldPixels * 765;

// The picture being approximated: kFieldPixels words 0xFFRRGGBB (bytes blue, green, red, 255 in
// memory), rows from the top; empty when no picture is loaded.
using TargetPixels = std::vector<std::uint32_t>;

// The world corners of a gene's quad in the renderer's y-up space: lt (x0, -y0), lb (x1, -y1),
// rt (x2, -y2), rb (x3, -y3).
struct GeneQuad {
  WorldPoint lt, lb, rt, rb;
};
GeneQuad geneQuad(const Gene& gene);

// Makes a preview view: a 192 x 96 back buffer, anisotropic filtering and the parts atlas as
// its bound texture. False when the atlas is empty or the view cannot be made.
bool prepareGenomeView(Renderer& view, const PartsAtlasBuffer& atlas);

// RenderGenome: clears the view to white and draws genes 0 ... count-1 in order, each with its
// colour and its part's atlas cell; later genes cover earlier ones.
void RenderGenome(Renderer& view, const Gene* genes, std::int32_t count);
inline void RenderGenome(Renderer& view, const Genome& genome) {
  RenderGenome(view, genome.genes.data(), genome.count);
}

// MeasureError: the sum over the field of |blue| + |green| + |red| differences between the
// target and the picture (the fourth byte ignored), 0 ... kMaxFieldError; -1 when there is no
// target or the picture is not the field's size.
std::int32_t MeasureError(const TargetPixels& target, const PixelView& picture);

// The distance of pixels [0, n) of two pictures, both 0xAARRGGBB words.
std::int64_t pixelDistance(const std::uint32_t* a, const std::uint32_t* b, int n);

}  // namespace orvane
