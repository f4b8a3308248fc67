#include "app/shell/info_fields.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(InfoFields, SizePresetsMatchOnlyTheirExactSize) {
  EXPECT_EQ(sizePresetOf({192, 96}), SizePreset::Standard);
  EXPECT_EQ(sizePresetOf({32, 32}), SizePreset::Small);
  for (EmblemSize other : {EmblemSize{96, 192}, EmblemSize{192, 32}, EmblemSize{32, 96},
                           EmblemSize{0, 0}, EmblemSize{33, 32}}) {
    EXPECT_EQ(sizePresetOf(other), SizePreset::Direct) << other.width << "x" << other.height;
  }
  // Each preset's size is recognised as that preset again.
  for (SizePreset preset : {SizePreset::Standard, SizePreset::Small}) {
    ASSERT_TRUE(presetSize(preset));
    EXPECT_EQ(sizePresetOf(*presetSize(preset)), preset);
    EXPECT_FALSE(sizeFieldsEditable(preset));
  }
  EXPECT_FALSE(presetSize(SizePreset::Direct));
  EXPECT_TRUE(sizeFieldsEditable(SizePreset::Direct));
  EXPECT_EQ(kSizePresetLabels[static_cast<int>(SizePreset::Direct)], "直接指定");
}

TEST(InfoFields, SoundNumbersOutsideTheListSelectNothing) {
  EXPECT_EQ(soundEntryOf(0), 0);
  EXPECT_EQ(soundEntryOf(12), 12);
  EXPECT_EQ(kSoundNames[*soundEntryOf(12)], "キメ！");
  EXPECT_EQ(kSoundNames[*soundEntryOf(9)], "HELP");
  EXPECT_FALSE(soundEntryOf(13));
  EXPECT_FALSE(soundEntryOf(-1));
  EXPECT_FALSE(soundEntryOf(31));
}

TEST(InfoFields, LayerCountShowsCountsBeyondTheLimitUnchanged) {
  EXPECT_EQ(layerCountText(0), "0 / 225");
  EXPECT_EQ(layerCountText(3), "3 / 225");
  EXPECT_EQ(layerCountText(230), "230 / 225");
}

}  // namespace
}  // namespace orvane
