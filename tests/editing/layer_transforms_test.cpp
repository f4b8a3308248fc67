#include "editing/layer_transforms.h"

#include <gtest/gtest.h>

#include <numbers>
#include <string>
#include <vector>

namespace orvane {
namespace {

constexpr float kHalfPi = std::numbers::pi_v<float> / 2;

LayerRecord square(std::int32_t half = 16) {
  LayerRecord r;
  r.ltx = -half, r.lty = -half;
  r.lbx = -half, r.lby = half;
  r.rtx = half, r.rty = -half;
  r.rbx = half, r.rby = half;
  r.color = 0xFF102030;
  r.partId = 7;
  return r;
}

LayerRecord withVertex(std::int32_t x, std::int32_t y) {
  LayerRecord r;
  r.ltx = r.lbx = r.rtx = r.rbx = x;
  r.lty = r.lby = r.rty = r.rby = y;
  return r;
}

Point turned(std::int32_t x, std::int32_t y, float angle, std::int32_t cx = 0,
             std::int32_t cy = 0) {
  LayerRecord r = withVertex(x, y);
  r.rotation = angle;
  r.rotationCentreX = cx;
  r.rotationCentreY = cy;
  return effectiveVertices(r).lt;
}

TEST(EffectiveVertices, PendingMoveShiftsByCurrentMinusOrigin) {
  LayerRecord r = square();
  r.moveX = 12, r.moveY = 5, r.moveOriginX = 10, r.moveOriginY = 8;
  EXPECT_EQ(effectiveVertices(r).lt, (Point{-14, -19}));
  EXPECT_EQ(effectiveVertices(r).rb, (Point{18, 13}));
}

TEST(EffectiveVertices, ScaleTruncatesEachProductTowardZero) {
  LayerRecord r = square();
  r.scaleX = 2.0f - 1, r.scaleY = 0.5f - 1;
  EXPECT_EQ(effectiveVertices(r).lt, (Point{-32, -8}));
  EXPECT_EQ(effectiveVertices(r).rb, (Point{32, 8}));
  r.scaleCentreX = 10, r.scaleCentreY = 10;
  EXPECT_EQ(effectiveVertices(r).lt, (Point{-42, -3}));
  EXPECT_EQ(effectiveVertices(r).rb, (Point{22, 13}));

  LayerRecord line = withVertex(-5, 0);
  line.rbx = 5;
  line.scaleX = 0.5f;
  const Quad q = effectiveVertices(line);
  EXPECT_EQ(q.lt.x, -7);
  EXPECT_EQ(q.rb.x, 7);

  LayerRecord onlyY = square();  // a zero scaleX with a non-zero scaleY still scales y
  onlyY.scaleY = 1.0f;
  EXPECT_EQ(effectiveVertices(onlyY).lt, (Point{-16, -32}));
}

TEST(EffectiveVertices, RotationFollowsSinglePrecisionExactly) {
  EXPECT_EQ(turned(10, 0, -kHalfPi), (Point{0, 10}));
  EXPECT_EQ(turned(10, 0, kHalfPi), (Point{0, -10}));
  EXPECT_EQ(turned(16, 16, -kHalfPi), (Point{-15, 15}));
  EXPECT_EQ(turned(7, 3, kHalfPi), (Point{2, -7}));
  EXPECT_EQ(turned(12, 0, -kHalfPi, 2, 0), (Point{2, 10}));  // about a centre off the origin
}

TEST(EffectiveVertices, RotationStartsFromTheStoredVerticesDroppingMoveAndScale) {
  LayerRecord r = withVertex(10, 0);
  r.moveX = 100;
  r.scaleX = 3.0f;
  r.rotation = -kHalfPi;
  EXPECT_EQ(effectiveVertices(r).rb, (Point{0, 10}));
}

// A document with the root holding a group of three layers and a loose layer.
struct TransformFixture : ::testing::Test {
  void SetUp() override {
    doc.newDocument(u"e", 192, 96);
    NodePtr g = EmblemDocument::makeNode(&doc, NodeKind::Group, u"g");
    group = g.get();
    doc.appendChild(doc.root(), std::move(g));
    for (int i = 0; i < 3; ++i) layers.push_back(addLayer(group, square(4 + 4 * i)));
    loose = addLayer(doc.root(), square(2));
    for (int e = 0; e < kDocumentEventCount; ++e) {
      doc.registerCallback(static_cast<DocumentEvent>(e),
                           [this](const DocumentEventArgs& args, std::uint32_t) {
                             events.push_back({args.event, args.node});
                           });
    }
  }

  EmblemNode* addLayer(EmblemNode* parent, const LayerRecord& record) {
    NodePtr layer = EmblemDocument::makeNode(&doc, NodeKind::Layer, u"l");
    EmblemDocument::setLayerRecord(layer.get(), record);
    EmblemNode* raw = layer.get();
    doc.appendChild(parent, std::move(layer));
    return raw;
  }

  // Declared before the document, which fires Cleared as it goes.
  std::vector<std::pair<DocumentEvent, EmblemNode*>> events;
  EmblemDocument doc;
  EmblemNode* group = nullptr;
  std::vector<EmblemNode*> layers;
  EmblemNode* loose = nullptr;
};

TEST_F(TransformFixture, GroupOperationChangesEveryLayerAndFiresOnceForTheGroup) {
  EXPECT_TRUE(moveVertexRb(group, 3, 2, 1, 1));
  for (int i = 0; i < 3; ++i) {
    const std::int32_t half = 4 + 4 * i;
    EXPECT_EQ(layers[i]->layer().rbx, half + 2);
    EXPECT_EQ(layers[i]->layer().rby, half + 1);
    EXPECT_EQ(layers[i]->layer().ltx, -half);
  }
  EXPECT_EQ(loose->layer(), square(2));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], std::make_pair(DocumentEvent::GroupChanged, group));
  EXPECT_TRUE(doc.isEnabled(DocumentEvent::LayerChanged));
}

TEST_F(TransformFixture, VertexMovesTouchOnlyTheirVertex) {
  moveVertexLt(loose, 1, 0, 0, 0);
  moveVertexLb(loose, 0, 2, 0, 0);
  moveVertexRt(loose, 3, 3, 0, 0);
  const LayerRecord& r = loose->layer();
  EXPECT_EQ((Quad{{r.ltx, r.lty}, {r.lbx, r.lby}, {r.rtx, r.rty}, {r.rbx, r.rby}}),
            (Quad{{-1, -2}, {-2, 4}, {5, 1}, {2, 2}}));
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[2], std::make_pair(DocumentEvent::LayerChanged, loose));
}

TEST_F(TransformFixture, ApplyPendingOnTheRootSettlesEveryLayerWithOneInfoChanged) {
  setPendingMove(doc.root(), 5, 0, 0, 0);
  setPendingScale(group, 2.0f, 2.0f, 0, 0);
  setPendingRotation(loose, kHalfPi, 0, 0);
  const Quad looseBefore = effectiveVertices(loose->layer());
  const Quad firstBefore = effectiveVertices(layers[0]->layer());
  events.clear();

  EXPECT_TRUE(applyPending(doc.root()));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], std::make_pair(DocumentEvent::InfoChanged, doc.root()));
  EXPECT_EQ(effectiveVertices(loose->layer()), looseBefore);
  EXPECT_EQ(effectiveVertices(layers[0]->layer()), firstBefore);
  EXPECT_EQ(firstBefore.lt, (Point{2, -8}));  // moved by 5, then doubled about the origin
  for (EmblemNode* layer : {layers[0], layers[1], layers[2], loose}) {
    const LayerRecord& r = layer->layer();
    EXPECT_EQ(r.moveX, 0);
    EXPECT_EQ(r.moveOriginX, 0);
    EXPECT_EQ(r.scaleX, 0.0f);
    EXPECT_EQ(r.scaleY, 0.0f);
    EXPECT_EQ(r.rotation, 0.0f);
    EXPECT_EQ(r.rotationCentreX, 0);
    EXPECT_EQ(r.color, 0xFF102030u);
    EXPECT_EQ(r.partId, 7);
  }
}

TEST_F(TransformFixture, PendingKindsOverwriteOnlyThemselves) {
  setPendingMove(loose, 4, 4, 1, 1);
  setPendingScale(loose, 3.0f, 1.0f, 1, 2);
  setPendingMove(loose, 6, 6, 1, 1);
  const LayerRecord& r = loose->layer();
  EXPECT_EQ(r.moveX, 6);
  EXPECT_EQ(r.scaleX, 2.0f);
  EXPECT_EQ(r.scaleY, 0.0f);
  EXPECT_EQ(r.scaleCentreY, 2);
}

TEST_F(TransformFixture, ImageNodesRefuseAndSilentWhenOwnerless) {
  NodePtr image = EmblemDocument::makeNode(&doc, NodeKind::Image, u"i");
  EXPECT_FALSE(setPendingMove(image.get(), 1, 1, 0, 0));
  EXPECT_FALSE(applyPending(image.get()));
  EXPECT_FALSE(moveVertexLt(nullptr, 1, 1, 0, 0));

  NodePtr apart = EmblemDocument::duplicate(group);
  EXPECT_TRUE(setPendingMove(apart.get(), 1, 0, 0, 0));
  EXPECT_EQ(apart->firstChild()->layer().moveX, 1);
  EXPECT_TRUE(events.empty());
}

TEST_F(TransformFixture, BoundingBoxCoversLayersBelowIncludingHiddenOnes) {
  Box box;
  EXPECT_TRUE(boundingBox(doc.root(), box));
  EXPECT_EQ(box, (Box{-12, -12, 12, 12}));
  EXPECT_FALSE(boundingBox(loose, box));  // a layer has nothing below it

  NodePtr empty = EmblemDocument::makeNode(&doc, NodeKind::Group, u"empty");
  NodePtr inner = EmblemDocument::makeNode(&doc, NodeKind::Group, u"inner");
  doc.appendChild(empty.get(), std::move(inner));
  EXPECT_FALSE(boundingBox(empty.get(), box));

  NodePtr hidden = EmblemDocument::makeNode(&doc, NodeKind::Layer, u"hidden", false);
  EmblemDocument::setLayerRecord(hidden.get(), withVertex(50, -60));
  doc.appendChild(group, std::move(hidden));
  setPendingMove(loose, 0, 100, 0, 0);
  EXPECT_TRUE(boundingBox(doc.root(), box));
  EXPECT_EQ(box, (Box{-12, -60, 50, 102}));
}

}  // namespace
}  // namespace orvane
