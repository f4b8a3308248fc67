#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "document/emblem_document.h"
#include "render/renderer.h"

namespace orvane::test {

// Synthetic parts of the test atlas (the real art may change; these never do).
inline constexpr int kSolidPart = 242;     // opaque white square
inline constexpr int kGradientPart = 243;  // white, alpha rising from left to right
inline constexpr int kCheckerPart = 244;   // opaque black and white texels in a 1-texel checker
// Every other cell: a white disc of radius 28 texels on transparent white; cells 240 (the
// selection handle) and 560 (the background tile) are opaque white squares like kSolidPart.

// The 1024 x 2048 A4R4G4B4 test atlas described above.
const std::vector<std::uint16_t>& syntheticAtlas();

// A document with an info root of the given size.
void newEmblem(EmblemDocument& document, int width, int height);
// A layer over the axis-aligned rectangle (left, top) ... (right, bottom) in emblem units,
// appended as the last child of `parent` (drawn below the earlier children).
EmblemNode* addLayer(EmblemDocument& document, EmblemNode* parent, int left, int top, int right,
                     int bottom, std::uint32_t colour, int part = kSolidPart, bool visible = true);
EmblemNode* addGroup(EmblemDocument& document, EmblemNode* parent, bool visible = true);

// A renderer of the given size with filtering on and the test atlas bound.
void setUpWithAtlas(Renderer& renderer, int width, int height);

// Pixel of the renderer's back buffer (0xAARRGGBB).
std::uint32_t pixelAt(const Renderer& renderer, int x, int y);

// The bytes of a small file in tests/data.
std::string testDataPath(const std::string& name);

}  // namespace orvane::test
