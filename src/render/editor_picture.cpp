#include "render/editor_picture.h"

#include "catalogue/part_catalogue.h"
#include "editing/layer_transforms.h"
#include "formats/parts_atlas.h"
#include "render/blurred_scene.h"
#include "render/emblem_drawing.h"

namespace orvane {
namespace {

// The editor's blurred square: 1024 x 1024 texels, 256 emblem units at scale 4.
constexpr float kEditorBlurSide = 1024.0f;

void drawScene(Renderer& renderer, const EmblemDocument& document, bool conversion, float scale) {
  renderer.beginFrame(kBackdropColour);
  drawBackgroundTiles(renderer, scale);
  drawEmblem(renderer, document, scale, conversion);
}

bool selectionCorners(const EmblemNode* node, Quad& corners) {
  if (!node) return false;
  switch (node->kind()) {
    case NodeKind::Layer:
      corners = effectiveVertices(node->layer());
      return true;
    case NodeKind::Group:
    case NodeKind::Info: {
      Box box;
      if (!boundingBox(node, box)) return false;
      corners = {
          {box.minX, box.minY}, {box.minX, box.maxY}, {box.maxX, box.minY}, {box.maxX, box.maxY}};
      return true;
    }
    case NodeKind::Image:
      break;
  }
  return false;
}

}  // namespace

bool setUpEditorRenderer(Renderer& renderer, std::span<const std::uint16_t> atlas, int pixelRatio) {
  if (atlas.size() != kAtlasPixelCount || pixelRatio < 1 || pixelRatio > 8) return false;
  if (!renderer.create(kEditorPaneWidth * pixelRatio, kEditorPaneHeight * pixelRatio, false)) {
    return false;
  }
  renderer.useAnisotropicFiltering();
  renderer.setTexture(renderer.createTextureFromPixels(int(kAtlasWidth), int(kAtlasHeight),
                                                       atlas.data(), PixelFormat::A4R4G4B4, 16));
  return renderer.currentTexture() != nullptr;
}

void drawEditorPicture(Renderer& renderer, const EmblemDocument& document,
                       const EmblemNode* selection, const EditorPictureSettings& settings) {
  if (!renderer.isCreated()) return;
  const float ratio = static_cast<float>(settings.pixelRatio);
  const float scale = kEditorScale * ratio;
  const float blurSide = kEditorBlurSide * ratio;
  const bool blurred = settings.blur && renderer.hasBlur() &&
                       drawBlurredScene(renderer, blurSide, blurSide / 2, [&] {
                         drawScene(renderer, document, settings.colourConversion, scale);
                       });
  if (!blurred) drawScene(renderer, document, settings.colourConversion, scale);
  if (!settings.viewerMode) {
    drawSelectionHighlight(renderer, selection, scale);
    drawEmblemFrame(renderer, document, scale);
  }
  renderer.endFrame();
}

void drawSelectionHighlight(Renderer& renderer, const EmblemNode* selection, float s) {
  Quad q;
  if (!selectionCorners(selection, q)) return;
  const AtlasCell handleCell = cellOf(kSelectionHandlePart);
  for (const Point& p : {q.lt, q.lb, q.rt, q.rb}) {
    const float px = static_cast<float>(p.x), py = static_cast<float>(p.y);
    // A 2 x 2-unit square centred on the corner.
    renderer.drawQuad({s * (px - 1), s * (1 - py)}, {s * (px - 1), s * (-py - 1)},
                      {s * (px + 1), s * (1 - py)}, {s * (px + 1), s * (-py - 1)}, kSelectionColour,
                      handleCell);
  }
  auto world = [s](Point p) {
    return emblemToWorld(static_cast<float>(p.x), static_cast<float>(p.y), s);
  };
  renderer.drawOutline(world(q.lt), world(q.lb), world(q.rt), world(q.rb), kSelectionColour);
}

void drawEmblemFrame(Renderer& renderer, const EmblemDocument& document, float s) {
  const EmblemNode* root = document.root();
  if (!root || root->kind() != NodeKind::Info) return;
  const float hw = static_cast<float>(root->info().width) * s * 0.5f;
  const float hh = static_cast<float>(root->info().height) * s * 0.5f;
  // Through the centres of the area's outermost pixels, so that all four sides show even when
  // the area fills the whole target (the standard emblem in the pane).
  renderer.drawOutline({-hw + 0.5f, hh - 0.5f}, {-hw + 0.5f, -hh + 0.5f}, {hw - 0.5f, hh - 0.5f},
                       {hw - 0.5f, -hh + 0.5f}, kFrameColour);
}

}  // namespace orvane
