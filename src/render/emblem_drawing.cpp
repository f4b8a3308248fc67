#include "render/emblem_drawing.h"

#include <vector>

#include "catalogue/part_catalogue.h"
#include "editing/layer_transforms.h"
#include "render/color_convert.h"

namespace orvane {
namespace {

void drawLayer(Renderer& renderer, const LayerRecord& record, float scale, bool conversion) {
  const Quad q = effectiveVertices(record);
  auto world = [scale](Point p) {
    return emblemToWorld(static_cast<float>(p.x), static_cast<float>(p.y), scale);
  };
  renderer.drawQuad(world(q.lt), world(q.lb), world(q.rt), world(q.rb),
                    layerDrawColour(record.color, conversion),
                    cellOf(static_cast<std::uint32_t>(record.partId)));
}

// A tile between two emblem points (left-top and right-bottom).
void drawTile(Renderer& renderer, float left, float top, float right, float bottom, float scale) {
  renderer.drawQuad(emblemToWorld(left, top, scale), emblemToWorld(left, bottom, scale),
                    emblemToWorld(right, top, scale), emblemToWorld(right, bottom, scale),
                    kTileColour, cellOf(kBackgroundTilePart));
}

}  // namespace

WorldPoint emblemToWorld(float x, float y, float scale) { return {scale * x, -scale * y}; }

bool drawEmblem(Renderer& renderer, const EmblemDocument& document, float scale,
                bool colourConversion) {
  const EmblemNode* root = document.root();
  if (!root || root->kind() != NodeKind::Info) return false;
  // Post-order walk over the children from last to first, kept on an explicit stack so that
  // deeply nested files cannot exhaust the call stack.
  struct Frame {
    const EmblemNode* node;
    const EmblemNode* nextChild;
  };
  if (!root->visible()) return true;
  std::vector<Frame> stack{{root, root->lastChild()}};
  while (!stack.empty()) {
    Frame& top = stack.back();
    if (const EmblemNode* child = top.nextChild) {
      top.nextChild = child->prev();
      if (child->visible()) stack.push_back({child, child->lastChild()});
      continue;
    }
    if (top.node->kind() == NodeKind::Layer) {
      drawLayer(renderer, top.node->layer(), scale, colourConversion);
    }
    stack.pop_back();
  }
  return true;
}

void drawBackgroundTiles(Renderer& renderer, float s) {
  for (int n : {50, 26, 2, -22, -46}) {
    for (int o : {-97, -73, -49, -25, -1, 23, 47, 71}) {
      renderer.drawQuad({s * o, s * n}, {s * o, s * (n - 26)}, {s * (o + 26), s * n},
                        {s * (o + 26), s * (n - 26)}, kTileColour, cellOf(kBackgroundTilePart));
    }
  }
}

void drawCheckerTiles(Renderer& renderer, float scale, float step, std::int32_t width,
                      std::int32_t height) {
  const float x0 = static_cast<float>(-1 - width / 2);
  const float y0 = static_cast<float>(-2 - height / 2);
  for (int j = 0; j < 5; ++j) {
    for (int i = 0; i < 8; ++i) {
      const float left = x0 + static_cast<float>(i) * step;
      const float top = y0 + static_cast<float>(j) * step;
      drawTile(renderer, left, top, left + step + 2.0f, top + step + 2.0f, scale);
    }
  }
}

}  // namespace orvane
