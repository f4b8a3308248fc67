#include "render_test_support.h"

#include <cmath>

#include "catalogue/part_catalogue.h"

namespace orvane::test {
namespace {

void fillCell(std::vector<std::uint16_t>& atlas, int part, auto texelAt) {
  const AtlasCell cell = cellOf(std::uint32_t(part));
  const int x0 = int(cell.u * 1024), y0 = int(cell.v * 2048);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) atlas[std::size_t(y0 + y) * 1024 + x0 + x] = texelAt(x, y);
  }
}

}  // namespace

const std::vector<std::uint16_t>& syntheticAtlas() {
  static const std::vector<std::uint16_t> atlas = [] {
    std::vector<std::uint16_t> a(1024 * 2048);
    for (int y = 0; y < 2048; ++y) {
      for (int x = 0; x < 1024; ++x) {
        const double dx = x % 64 - 31.5, dy = y % 64 - 31.5;
        a[std::size_t(y) * 1024 + x] = dx * dx + dy * dy <= 28.0 * 28.0 ? 0xFFFF : 0x0FFF;
      }
    }
    auto solid = [](int, int) -> std::uint16_t { return 0xFFFF; };
    fillCell(a, kSolidPart, solid);
    fillCell(a, 240, solid);
    fillCell(a, 560, solid);
    fillCell(a, kGradientPart, [](int x, int) { return std::uint16_t((x / 4) << 12 | 0x0FFF); });
    fillCell(a, kCheckerPart,
             [](int x, int y) { return std::uint16_t((x + y) % 2 ? 0xFFFF : 0xF000); });
    return a;
  }();
  return atlas;
}

void newEmblem(EmblemDocument& document, int width, int height) {
  document.newDocument(u"test", width, height);
}

EmblemNode* addLayer(EmblemDocument& document, EmblemNode* parent, int left, int top, int right,
                     int bottom, std::uint32_t colour, int part, bool visible) {
  NodePtr node = EmblemDocument::makeNode(&document, NodeKind::Layer, u"layer", visible);
  LayerRecord r;
  r.ltx = left, r.lty = top, r.lbx = left, r.lby = bottom;
  r.rtx = right, r.rty = top, r.rbx = right, r.rby = bottom;
  r.color = colour;
  r.partId = part;
  EmblemDocument::setLayerRecord(node.get(), r);
  EmblemNode* raw = node.get();
  document.appendChild(parent, std::move(node));
  return raw;
}

EmblemNode* addGroup(EmblemDocument& document, EmblemNode* parent, bool visible) {
  NodePtr node = EmblemDocument::makeNode(&document, NodeKind::Group, u"group", visible);
  EmblemNode* raw = node.get();
  document.appendChild(parent, std::move(node));
  return raw;
}

void setUpWithAtlas(Renderer& renderer, int width, int height) {
  renderer.create(width, height);
  renderer.useAnisotropicFiltering();
  renderer.setTexture(renderer.createTextureFromPixels(1024, 2048, syntheticAtlas().data(),
                                                       PixelFormat::A4R4G4B4, 16));
}

std::uint32_t pixelAt(const Renderer& renderer, int x, int y) {
  return renderer.backBuffer().at(x, y);
}

std::string testDataPath(const std::string& name) {
  return std::string(ORVANE_TEST_DATA) + "/" + name;
}

}  // namespace orvane::test
