#pragma once

#include <cstdint>

#include "tools/randomart/fit_raster.h"
#include "tools/randomart/genome_rendering.h"

namespace orvane {

// The renderer's exact arithmetic for a fitted layer (a white part, so the source is the
// layer's colour with alpha = the texel's alpha x the layer's alpha), on 192 x 96 pictures of
// 0xFFRRGGBB words.

// Blends the layer over the picture as drawQuad would.
void paintRaster(const FitRaster& raster, std::uint32_t colour, std::uint32_t* picture);

// Multiplies each pixel's share that reaches the finished picture from below the layer by
// what the layer lets through there: 1 - its source alpha.
void attenuate(const FitRaster& raster, std::uint32_t colour, float* through);

// The change of the summed squared channel error against the target if the layer were
// painted over the picture: computed over the layer's own pixels only, and equal to measuring
// the whole picture before and after.
std::int64_t squaredErrorChange(const FitRaster& raster, std::uint32_t colour,
                                const std::uint32_t* picture, const std::uint32_t* target);

// The sum of squared red, green and blue differences of pixels [0, n).
std::int64_t squaredDistance(const std::uint32_t* a, const std::uint32_t* b, int n);

// The summed squared error as the root mean square of one channel (0 ... 255).
double rmsOf(std::int64_t squaredError);

}  // namespace orvane
