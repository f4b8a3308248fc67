#include "editing/edit_history.h"

#include <gtest/gtest.h>

#include "emblem_builder.h"

namespace orvane {
namespace {

TEST(EditHistory, KeepsTheRootsEmblemInformation) {
  EmblemBuilder b;
  EmblemDocument::setInfo(b.doc.root(), EmblemInfo{7, 192, 96, 3});
  EditHistory history(b.doc);
  EXPECT_FALSE(history.record("nothing"));  // the tree as it was at the start
  b.add(b.doc.root(), NodeKind::Layer);
  EXPECT_TRUE(history.record("add"));
  EXPECT_FALSE(history.record("again"));

  // Undo takes back exactly the one step, and the emblem keeps its size, author and sound.
  ASSERT_TRUE(history.undo().done);
  EXPECT_EQ(history.stepCount(), 1u);
  EXPECT_EQ(history.redoName(), "add");
  EXPECT_EQ(b.doc.root()->childCount(), 0u);
  EXPECT_EQ(b.doc.root()->info(), (EmblemInfo{7, 192, 96, 3}));
  ASSERT_TRUE(history.redo().done);
  EXPECT_EQ(b.doc.root()->childCount(), 1u);
  EXPECT_EQ(b.doc.root()->info(), (EmblemInfo{7, 192, 96, 3}));
  EXPECT_TRUE(history.isModified());
}

TEST(EditHistory, KeepsImageRecords) {
  EmblemBuilder b;
  EmblemNode* image = b.add(b.doc.root(), NodeKind::Image);
  EmblemDocument::setImageRecord(image, ImageRecord{"picture.png", 0.5f});
  EditHistory history(b.doc);
  b.add(b.doc.root(), NodeKind::Layer);
  ASSERT_TRUE(history.record("add"));
  ASSERT_TRUE(history.undo().done);
  ASSERT_EQ(b.doc.root()->childCount(), 1u);
  EXPECT_EQ(b.doc.root()->firstChild()->image(), (ImageRecord{"picture.png", 0.5f}));
}

}  // namespace
}  // namespace orvane
