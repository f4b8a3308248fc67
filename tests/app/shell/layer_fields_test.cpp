#include "app/shell/layer_fields.h"

#include <gtest/gtest.h>

#include <set>

#include "editing/layer_transforms.h"

namespace orvane {
namespace {

LayerRecord square() {
  LayerRecord r;
  r.ltx = -16, r.lty = -16, r.lbx = -16, r.lby = 16;
  r.rtx = 16, r.rty = -16, r.rbx = 16, r.rby = 16;
  r.color = 0xFFFCFCFC;
  r.partId = 240;
  return r;
}

TEST(LayerFields, SettledRecordKeepsWhatIsDrawnWithoutPendingTransform) {
  LayerRecord moving = square();
  moving.moveX = 10, moving.moveY = 5;  // pending move by (7, 2)
  moving.moveOriginX = 3, moving.moveOriginY = 3;
  moving.scaleX = 1.0f;  // pending doubling around (0, 0)
  const LayerRecord settled = settledRecord(moving);
  EXPECT_EQ(effectiveVertices(settled), effectiveVertices(moving));
  EXPECT_EQ(settled.color, moving.color);
  EXPECT_EQ(settled.partId, moving.partId);
  EXPECT_EQ(settled.moveX, 0);
  EXPECT_EQ(settled.moveOriginX, 0);
  EXPECT_EQ(settled.scaleX, 0.0f);
  EXPECT_EQ(settled.rotation, 0.0f);
  // A record at rest is its own settled record.
  EXPECT_EQ(settledRecord(square()), square());
}

TEST(LayerFields, EachVertexFieldEditsItsOwnCoordinate) {
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < kVertexFields.size(); ++i) {
    LayerRecord r{};
    coordinateOf(r, kVertexFields[i]) = int(i) + 1;
    // Vertex order on the page: lt, lb, rt, rb, x before y.
    const Quad q = effectiveVertices(r);
    const std::int32_t inOrder[] = {q.lt.x, q.lt.y, q.lb.x, q.lb.y, q.rt.x, q.rt.y, q.rb.x, q.rb.y};
    for (std::size_t j = 0; j < 8; ++j) EXPECT_EQ(inOrder[j], j == i ? int(i) + 1 : 0) << i;
    EXPECT_EQ(coordinateOf(static_cast<const LayerRecord&>(r), kVertexFields[i]), int(i) + 1);
    names.insert(vertexFieldName(kVertexFields[i]));
  }
  EXPECT_EQ(names.size(), 8u);
  EXPECT_EQ(vertexFieldName(VertexField::LbY), "lby");
}

}  // namespace
}  // namespace orvane
