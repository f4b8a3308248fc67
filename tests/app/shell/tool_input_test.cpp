#include "app/shell/tool_input.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(ToolInput, SizeListShowsTheTwoPresetsAndDirectEntry) {
  EXPECT_EQ(sizePresetOf({192, 96}), SizePreset::Standard);
  EXPECT_EQ(sizePresetOf({32, 32}), SizePreset::Small);
  EXPECT_EQ(sizePresetOf({96, 192}), SizePreset::Direct);
  EXPECT_EQ(sizePresetOf({0, 0}), SizePreset::Direct);
  EXPECT_EQ(presetSize(SizePreset::Standard), (ToolSize{192, 96}));
  EXPECT_EQ(presetSize(SizePreset::Small), (ToolSize{32, 32}));
  EXPECT_EQ(presetSize(SizePreset::Direct), std::nullopt);
}

TEST(ToolInput, SizeEditsReadLikeAtoi) {
  EXPECT_EQ(numberFromText("192"), 192);
  EXPECT_EQ(numberFromText("  64px"), 64);
  EXPECT_EQ(numberFromText("-5"), -5);
  EXPECT_EQ(numberFromText(""), 0);
  EXPECT_EQ(numberFromText("abc"), 0);
  EXPECT_EQ(numberFromText("99999999999"), 2147483647);
}

TEST(ToolInput, SizesOutsideOneToTheLimitAreRefusedWithAMessage) {
  EXPECT_EQ(sizeProblem({192, 96}), std::nullopt);
  EXPECT_EQ(sizeProblem({1, kMaxToolSide}), std::nullopt);
  EXPECT_EQ(sizeProblem({2000, 2000}), std::nullopt);
  for (ToolSize bad : {ToolSize{0, 96}, ToolSize{192, 0}, ToolSize{-1, 5}, ToolSize{100000, 96},
                       ToolSize{192, kMaxToolSide + 1}}) {
    const auto problem = sizeProblem(bad);
    ASSERT_TRUE(problem) << bad.width << " x " << bad.height;
    EXPECT_NE(problem->find("10000"), std::string::npos);
  }
}

TEST(ToolInput, ScaleIsAWholeNumberTextAboveZero) {
  EXPECT_EQ(scaleFromText("1"), 1.0f);
  EXPECT_EQ(scaleFromText(" 2.5 "), 2.5f);
  EXPECT_EQ(scaleFromText("+0.25"), 0.25f);
  EXPECT_EQ(scaleFromText("1e1"), 10.0f);
  EXPECT_EQ(scaleFromText("32"), 32.0f);
  for (const char* bad : {"", "  ", "0", "-1", "abc", "2x", "1,5", "inf", "nan", "33", "1e300"}) {
    EXPECT_EQ(scaleFromText(bad), std::nullopt) << bad;
  }
  EXPECT_NE(scaleProblem().find("32"), std::string::npos);
}

}  // namespace
}  // namespace orvane
