#include "resources/embedded_parts_atlas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "catalogue/part_catalogue.h"
#include "resources/parts_atlas_resource.h"

namespace orvane {
namespace {

constexpr std::size_t kMaskPixels = 1984 * kAtlasWidth;

TEST(PartsAtlasLoader, EmbeddedResourceGivesFourMebibytesOfWhiteMasksAboveThePictures) {
  EXPECT_EQ(embeddedPartsAtlasResource().size(), 1703936u);
  PartsAtlasBuffer atlas;
  ASSERT_TRUE(loadEmbeddedPartsAtlas(atlas));
  EXPECT_EQ(atlas.bytes().size(), 4194304u);
  const auto pixels = atlas.pixels();
  EXPECT_TRUE(std::all_of(pixels.begin(), pixels.begin() + kMaskPixels,
                          [](std::uint16_t p) { return (p & 0x0FFF) == 0x0FFF; }));
  // The atlas is real art: masks and pictures both hold opaque texels.
  EXPECT_TRUE(std::any_of(pixels.begin(), pixels.begin() + kMaskPixels,
                          [](std::uint16_t p) { return p == 0xFFFF; }));
  EXPECT_TRUE(std::any_of(pixels.begin() + kMaskPixels, pixels.end(), [](std::uint16_t p) {
    return (p >> 12) == 0xF && (p & 0x0FFF) != 0x0FFF;
  }));
  EXPECT_EQ(atlas.pixel(0, 0), pixels[0]);
  EXPECT_EQ(atlas.pixel(1023, 2047), pixels.back());
}

// The committed atlas, checked cell by cell against the catalogue.
class AtlasArt : public testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(loadEmbeddedPartsAtlas(atlas_)); }

  static std::vector<std::uint16_t> cell(int column, int row) {
    std::vector<std::uint16_t> texels;
    for (int y = 0; y < kAtlasCellSize; ++y) {
      for (int x = 0; x < kAtlasCellSize; ++x) {
        texels.push_back(atlas_.pixel(column * kAtlasCellSize + x, row * kAtlasCellSize + y));
      }
    }
    return texels;
  }
  static std::vector<std::uint16_t> cellOfPart(std::uint32_t id) {
    const AtlasCell c = cellOf(id);
    return cell(static_cast<int>(c.u * 16), static_cast<int>(c.v * 32));
  }
  static int alpha(std::uint16_t texel) { return texel >> 12; }

  static PartsAtlasBuffer atlas_;
};
PartsAtlasBuffer AtlasArt::atlas_;

TEST_F(AtlasArt, NamedCellsHoldDistinctPicturesAndOthersAreClear) {
  std::set<std::pair<int, int>> used;
  std::map<std::vector<std::uint16_t>, std::uint32_t> seen;
  for (std::uint32_t id = 0; id < kPartCount; ++id) {
    if (!isNamedPart(id)) continue;
    const AtlasCell c = cellOf(id);
    const auto key = std::make_pair(static_cast<int>(c.u * 16), static_cast<int>(c.v * 32));
    const bool shared = !used.insert(key).second;
    const std::vector<std::uint16_t> texels = cell(key.first, key.second);
    EXPECT_TRUE(
        std::any_of(texels.begin(), texels.end(), [](std::uint16_t t) { return alpha(t) > 0; }))
        << "part " << id << " is blank";
    if (shared) continue;
    const auto [it, fresh] = seen.emplace(texels, id);
    EXPECT_TRUE(fresh) << "parts " << it->second << " and " << id << " look the same";
  }
  for (int row = 0; row < kAtlasRows; ++row) {
    for (int column = 0; column < kAtlasColumns; ++column) {
      if (used.count({column, row})) continue;
      const std::vector<std::uint16_t> texels = cell(column, row);
      EXPECT_TRUE(
          std::all_of(texels.begin(), texels.end(), [](std::uint16_t t) { return alpha(t) == 0; }))
          << "unused cell at column " << column << ", row " << row << " is not clear";
    }
  }
}

TEST_F(AtlasArt, DefaultPartIsAFilledSquareAndTheBlockTileFillsItsCell) {
  const std::vector<std::uint16_t> square = cellOfPart(kSelectionHandlePart);
  EXPECT_EQ(alpha(square[32 * 64 + 32]), 15);
  EXPECT_EQ(alpha(square[8 * 64 + 8]), 15);
  EXPECT_EQ(alpha(square[56 * 64 + 55]), 15);
  EXPECT_EQ(alpha(square[0]), 0);  // a small margin around it
  const std::vector<std::uint16_t> tile = cellOfPart(kBlockArtPart);
  EXPECT_TRUE(std::all_of(tile.begin(), tile.end(), [](std::uint16_t t) { return t == 0xFFFF; }));
}

TEST_F(AtlasArt, BackgroundTileRepeatsAcrossTheTwoUnitOverlap) {
  // 26-unit tiles every 24 units: texels 59-63 lie under the next tile's texels 0-4.
  const std::vector<std::uint16_t> tile = cellOfPart(kBackgroundTilePart);
  std::set<int> levels;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      levels.insert(alpha(tile[y * 64 + x]));
      if (x >= 59) {
        EXPECT_EQ(tile[y * 64 + x], tile[y * 64 + x - 59]) << x << "," << y;
      }
      if (y >= 59) {
        EXPECT_EQ(tile[y * 64 + x], tile[(y - 59) * 64 + x]) << x << "," << y;
      }
    }
  }
  // Only clear and opaque, so texels drawn twice in the overlap look the same as once.
  EXPECT_EQ(levels, (std::set<int>{0, 15}));
}

TEST_F(AtlasArt, PictureMasksAreTheRedChannelOfThePictures) {
  for (std::uint32_t n = 0; n < 10; ++n) {
    const std::vector<std::uint16_t> picture = cellOfPart(720 + n), mask = cellOfPart(960 + n);
    int opaque = 0;
    for (std::size_t i = 0; i < picture.size(); ++i) {
      EXPECT_EQ(alpha(mask[i]), (picture[i] >> 8) & 0xF);
      opaque += alpha(picture[i]) == 15;
    }
    EXPECT_GT(opaque, 400) << "picture " << n + 1;
  }
}

}  // namespace
}  // namespace orvane
