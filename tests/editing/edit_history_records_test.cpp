#include "editing/edit_history.h"

#include <gtest/gtest.h>

#include "emblem_builder.h"

namespace orvane {
namespace {

EmblemInfo infoOf(int authorId, int width, int height, int sound) {
  EmblemInfo info;
  info.authorId = authorId;
  info.width = width;
  info.height = height;
  info.sound = sound;
  return info;
}

TEST(EditHistory, KeepsTheHeaderAndImageRecordsOfEveryPoint) {
  EmblemBuilder b;
  EmblemDocument::setInfo(b.root(), infoOf(7, 192, 96, 3));
  EmblemNode* image = b.add(b.root(), NodeKind::Image);
  EmblemDocument::setImageRecord(image, {"photo.png", 0.5f});
  EditHistory history(b.doc);
  // Nothing changed since the start: no step.
  EXPECT_FALSE(history.record("nothing"));
  EXPECT_FALSE(history.isModified());

  EmblemDocument::setInfo(b.root(), infoOf(8, 32, 32, 4));
  ASSERT_TRUE(history.record("size"));
  EXPECT_FALSE(history.record("again"));
  // Undone in place: the header comes back whole.
  ASSERT_TRUE(history.undo().done);
  EXPECT_EQ(b.root()->info(), infoOf(7, 192, 96, 3));
  EXPECT_EQ(b.root()->firstChild(), image);
  ASSERT_TRUE(history.redo().done);
  EXPECT_EQ(b.root()->info(), infoOf(8, 32, 32, 4));

  // Undone by replacing the tree (its shape changed): header and image record come back too.
  b.add(b.root(), NodeKind::Group);
  ASSERT_TRUE(history.record("group"));
  ASSERT_TRUE(history.undo().done);
  EXPECT_EQ(b.root()->childCount(), 1u);
  EXPECT_EQ(b.root()->info(), infoOf(8, 32, 32, 4));
  EXPECT_EQ(b.root()->firstChild()->image(), (ImageRecord{"photo.png", 0.5f}));
  EXPECT_FALSE(history.record("nothing"));
}

}  // namespace
}  // namespace orvane
