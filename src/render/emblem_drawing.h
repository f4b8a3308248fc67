#pragma once

#include <cstdint>

#include "document/emblem_document.h"
#include "render/renderer.h"

namespace orvane {

// Colour of the grey background tiles and of the area around them.
inline constexpr std::uint32_t kTileColour = 0xFFDDDDDD;
inline constexpr std::uint32_t kBackdropColour = 0x00BBBBBB;

// The emblem point (x, y) (y downwards) as a world point at scale s: (s * x, -s * y) in floats.
WorldPoint emblemToWorld(float x, float y, float scale);

// Draws the document's layers at `scale` pixels per emblem unit, bottom layer first: from the
// root, a hidden node is skipped with its whole subtree; otherwise its children are visited from
// the last to the first, each with its whole subtree, and then a layer is drawn with its
// effective vertices, its colour (layerDrawColour) and its part's atlas cell. False, drawing
// nothing, when the root is missing or not an info node. The atlas texture must be bound and
// the target, projection and viewport set.
bool drawEmblem(Renderer& renderer, const EmblemDocument& document, float scale,
                bool colourConversion);

// The editor's background: 40 tiles of 26 x 26 emblem units every 24 units (neighbours overlap
// by 2), in 5 rows and 8 columns from (-97, -50), drawn with part 560 in kTileColour.
void drawBackgroundTiles(Renderer& renderer, float scale);

// The export's form of the background: 5 rows and 8 columns of (step + 2)-unit squares every
// `step` units from (-1 - width / 2, -2 - height / 2) (integer halves). With step 24 and a
// 192 x 96 emblem it equals drawBackgroundTiles.
void drawCheckerTiles(Renderer& renderer, float scale, float step, std::int32_t width,
                      std::int32_t height);

}  // namespace orvane
