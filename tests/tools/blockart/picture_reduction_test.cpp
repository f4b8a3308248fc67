// Area averaging onto the 15 x 15 field: exact means, split pixels, stretching and alpha.
#include "tools/blockart/picture_reduction.h"

#include <gtest/gtest.h>

#include <array>

namespace orvane {
namespace {

// A picture filled by `colour(x, y)` returning R, G, B, A.
template <typename Colour>
Picture makePicture(int width, int height, Colour colour) {
  Picture picture{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 4)};
  std::uint8_t* out = picture.rgba.data();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (std::uint8_t channel : colour(x, y)) *out++ = channel;
    }
  }
  return picture;
}
using Rgba = std::array<std::uint8_t, 4>;

TEST(PictureReduction, CellsAreTheRoundedMeansOfTheAreasTheyCover) {
  // Same size: every pixel kept.
  const auto same = reducePictureOverBlack(
      makePicture(15, 15,
                  [](int x, int y) {
                    return Rgba{std::uint8_t(x * 17), std::uint8_t(y * 13), 9, 255};
                  }),
      15, 15);
  ASSERT_EQ(same.size(), 225u);
  EXPECT_EQ(same[0], 0xFF000009u);
  EXPECT_EQ(same[15 * 3 + 14], 0xFFEE2709u);
  // 30 x 30 in 2 x 2 blocks with reds 0, 10, 20, 31 (15.25 -> 15) and blues 0, 0, 0, 2 (0.5 -> 1).
  const auto blocks = reducePictureOverBlack(
      makePicture(30, 30,
                  [](int x, int y) {
                    const int odd = (x % 2) * (y % 2);
                    return Rgba{std::uint8_t((x % 2) * 10 + (y % 2) * 20 + odd),
                                std::uint8_t(x / 2 * 16), std::uint8_t(2 * odd), 255};
                  }),
      15, 15);
  for (int i = 0; i < 225; ++i) EXPECT_EQ(blocks[i], 0xFF0F0001u | std::uint32_t(i % 15 * 16) << 8);
  // 16 wide, only pixel 1 red: cell 0 holds 1/16 of it (15.9 -> 16), cell 1 14/16 (223.1 -> 223).
  const auto split =
      reducePictureOverBlack(makePicture(16, 2,
                                         [](int x, int) {
                                           return Rgba{std::uint8_t(x == 1 ? 255 : 0), 0, 0, 255};
                                         }),
                             15, 15);
  EXPECT_EQ(split[0], 0xFF100000u);
  EXPECT_EQ(split[1], 0xFFDF0000u);
  EXPECT_EQ(split[2], 0xFF000000u);
  // Any size of one colour, small pictures stretched included, stays that colour.
  for (auto [w, h] : {std::pair{1, 1}, {7, 3}, {17, 4}, {1000, 3}}) {
    const auto field = reducePictureOverBlack(makePicture(w, h,
                                                          [](int, int) {
                                                            return Rgba{12, 200, 99, 255};
                                                          }),
                                              15, 15);
    for (std::uint32_t c : field) ASSERT_EQ(c, 0xFF0CC863u) << w << " x " << h;
  }
}

TEST(PictureReduction, AlphaWeighsTheColourOverBlack) {
  // Opaque and clear white side by side give mid grey (127.5 -> 128), not white.
  const auto grey = reducePictureOverBlack(
      makePicture(2, 1,
                  [](int x, int) {
                    return Rgba{255, 255, 255, std::uint8_t(x == 0 ? 255 : 0)};
                  }),
      1, 1);
  ASSERT_EQ(grey.size(), 1u);
  EXPECT_EQ(grey[0], 0xFF808080u);
  // Nothing to reduce, or nowhere to put it.
  EXPECT_TRUE(reducePictureOverBlack(Picture{}, 15, 15).empty());
  EXPECT_TRUE(reducePictureOverBlack(Picture{4, 4, std::vector<std::uint8_t>(10)}, 15, 15).empty());
  EXPECT_TRUE(reducePictureOverBlack(Picture{1, 1, {1, 2, 3, 255}}, 0, 15).empty());
}

}  // namespace
}  // namespace orvane
