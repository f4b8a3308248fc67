#pragma once

#include <cstdint>

#include "bench_atlas.h"
#include "document/emblem_document.h"

namespace orvane::bench {

// The scenes the speed targets are stated for. Both fill a 192 x 96 emblem with 225 layers.

// Block art: a 15 x 15 mosaic of part 242 over the whole emblem, one colour per cell.
inline void mosaicEmblem(EmblemDocument& d) {
  d.newDocument(u"mosaic", 192, 96);
  for (int row = 0; row < 15; ++row) {
    for (int col = 0; col < 15; ++col) {
      const int left = -96 + col * 192 / 15, right = -96 + (col + 1) * 192 / 15;
      const int top = -48 + row * 96 / 15, bottom = -48 + (row + 1) * 96 / 15;
      LayerRecord r;
      r.ltx = r.lbx = left, r.rtx = r.rbx = right;
      r.lty = r.rty = top, r.lby = r.rby = bottom;
      r.color = 0xFF000000u | std::uint32_t(row * 17) << 16 | std::uint32_t(col * 17) << 8 | 0x80;
      r.partId = 242;
      NodePtr node = EmblemDocument::makeNode(&d, NodeKind::Layer, u"cell");
      EmblemDocument::setLayerRecord(node.get(), r);
      d.appendChild(d.root(), std::move(node));
    }
  }
}

// Mixed parts (all 1024 ids), sizes 4 ... 64 units a side, slanted quads, all eight alpha
// levels, placed anywhere over the emblem; a fixed generator so every run draws the same.
inline void mixedEmblem(EmblemDocument& d) {
  d.newDocument(u"mixed", 192, 96);
  std::uint32_t seed = 12345;
  auto next = [&seed](int n) {
    seed = seed * 1664525u + 1013904223u;
    return int((seed >> 8) % std::uint32_t(n));
  };
  for (int i = 0; i < 225; ++i) {
    const int w = 4 + next(61), h = 4 + next(61);
    const int cx = next(193) - 96, cy = next(97) - 48;
    const int skew = next(9) - 4;
    LayerRecord r;
    r.ltx = cx - w / 2 + skew, r.lty = cy - h / 2;
    r.lbx = cx - w / 2 - skew, r.lby = cy + h / 2;
    r.rtx = cx + w / 2 + skew, r.rty = cy - h / 2 + skew;
    r.rbx = cx + w / 2 - skew, r.rby = cy + h / 2;
    r.color = std::uint32_t(32 * next(8) + 31) << 24 | std::uint32_t(next(1 << 24));
    r.partId = next(1024);
    NodePtr node = EmblemDocument::makeNode(&d, NodeKind::Layer, u"layer");
    EmblemDocument::setLayerRecord(node.get(), r);
    d.appendChild(d.root(), std::move(node));
  }
}

// The program's own parts atlas, loaded once.
}  // namespace orvane::bench
