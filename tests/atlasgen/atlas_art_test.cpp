#include "atlasgen/atlas_art.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <vector>

#include "formats/atlas_planes.h"

namespace orvane::art {
namespace {

float total(const Mask& mask) {
  float sum = 0;
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) sum += mask.at(x, y);
  }
  return sum;
}

TEST(AtlasCanvas, AntiAliasedDiscCoversItsArea) {
  Mask disc;
  disc.fill([](Vec2 p) { return sdCircle(p, {0.1f, -0.05f}, 0.5f); });
  const float radiusInTexels = 0.5f / kTexel;
  EXPECT_NEAR(total(disc), kPi * radiusInTexels * radiusInTexels, 0.005f * total(disc));
  EXPECT_EQ(disc.at(35, 30), 1.0f);
  EXPECT_EQ(disc.at(2, 2), 0.0f);
  // An edge texel is partly covered rather than all or nothing.
  int partial = 0;
  for (int x = 0; x < kCell; ++x) partial += disc.at(x, 30) > 0.05f && disc.at(x, 30) < 0.95f;
  EXPECT_GE(partial, 2);
}

TEST(AtlasCanvas, PolygonAndBoxAgreeAndEdgesOnTexelBordersAreSharp) {
  Mask box, polygon;
  box.fill([](Vec2 p) { return sdBox(p, {0, 0}, {0.5f, 0.25f}); });
  polygon.fill([](Vec2 p) {
    return sdPolygon(p, {{-0.5f, -0.25f}, {0.5f, -0.25f}, {0.5f, 0.25f}, {-0.5f, 0.25f}});
  });
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      EXPECT_NEAR(box.at(x, y), polygon.at(x, y), 1e-5f);
      EXPECT_TRUE(box.at(x, y) == 0 || box.at(x, y) == 1) << x << "," << y;
    }
  }
  EXPECT_EQ(total(box), 32 * 16);
  Mask cut = box;
  cut.cut([](Vec2 p) { return sdBox(p, {0, 0}, {0.25f, 0.25f}); });
  EXPECT_EQ(total(cut), 16 * 16);
}

TEST(AtlasCanvas, RandomSequenceIsFixedBySeed) {
  Random a(42), b(42), c(43);
  bool differs = false;
  for (int i = 0; i < 100; ++i) {
    const float va = a.uniform(-2, 3);
    EXPECT_EQ(va, b.uniform(-2, 3));
    EXPECT_GE(va, -2);
    EXPECT_LT(va, 3);
    differs |= va != c.uniform(-2, 3);
  }
  EXPECT_TRUE(differs);
}

TEST(AtlasResource, AtlasThatCannotBePackedGivesNoResource) {
  std::vector<std::uint16_t> atlas(kAtlasPixelCount, 0x0FFF);
  std::fill(atlas.begin() + 1984 * kAtlasWidth, atlas.end(), 0);
  EXPECT_EQ(makePartsAtlasResource(atlas).size(), 1703936u);
  atlas[5] = 0xF000;  // a coloured texel in the white masks
  EXPECT_TRUE(makePartsAtlasResource(atlas).empty());
  EXPECT_TRUE(makePartsAtlasResource({}).empty());
}

class AtlasGenerator : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    if (!fonts_.load(kDejaVuDirectory, &error)) {
      GTEST_SKIP() << "the DejaVu fonts are not installed (" << error << ")";
    }
  }
  AtlasFonts fonts_;
};

TEST_F(AtlasGenerator, GlyphsAreCentredInTheirCells) {
  for (const int number : {15, 41, 63, 81, 161}) {  // O, o, !, the serif and the outlined A
    Mask mask;
    drawCharacter(number, fonts_, mask);
    int left = kCell, right = -1, top = kCell, bottom = -1;
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) {
        if (mask.at(x, y) < 0.5f) continue;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
    }
    ASSERT_GE(right, left) << "character " << number << " is blank";
    EXPECT_NEAR((left + right + 1) / 2.0f, 32, 1.0f) << "character " << number;
    EXPECT_NEAR((top + bottom + 1) / 2.0f, 32, 1.0f) << "character " << number;
    EXPECT_GE(left, 3) << "character " << number << " has no margin";
    EXPECT_LE(right, 60) << "character " << number << " has no margin";
  }
}

TEST_F(AtlasGenerator, RegeneratedResourceIsTheCommittedOne) {
  std::ifstream in(ORVANE_PARTS_ATLAS_BIN, std::ios::binary);
  ASSERT_TRUE(in) << "cannot read " << ORVANE_PARTS_ATLAS_BIN;
  const std::vector<std::uint8_t> committed{std::istreambuf_iterator<char>(in),
                                            std::istreambuf_iterator<char>()};
  const std::vector<std::uint8_t> regenerated = makePartsAtlasResource(drawPartsAtlas(fonts_));
  ASSERT_EQ(regenerated.size(), committed.size());
  const auto mismatch = std::mismatch(regenerated.begin(), regenerated.end(), committed.begin());
  EXPECT_TRUE(mismatch.first == regenerated.end())
      << "first difference at byte " << (mismatch.first - regenerated.begin())
      << "; run orvane_atlas_generator to refresh src/resources/parts_atlas.bin";
}

TEST_F(AtlasGenerator, ContactSheetIsWrittenAsAnOpaquePngOfTheDrawnSheet) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "orvane_atlas_art_test_sheet.png";
  std::vector<std::uint16_t> atlas(kAtlasPixelCount, 0x0FFF);
  ASSERT_TRUE(writeContactSheet(atlas, fonts_, path, 240, 260));
  std::ifstream in(path, std::ios::binary);
  char signature[8] = {};
  in.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
  in.close();
  Picture written;
  ASSERT_TRUE(readPictureFile(path, written));
  const Picture drawn = drawContactSheet(atlas, fonts_, 240, 260);
  EXPECT_EQ(written.width, drawn.width);
  EXPECT_EQ(written.height, drawn.height);
  EXPECT_TRUE(written.rgba == drawn.rgba);
  std::filesystem::remove(path);
  // A folder that does not exist is reported, not ignored.
  std::string error;
  EXPECT_FALSE(writeContactSheet(atlas, fonts_, path.parent_path() / "no-such-folder" / "s.png",
                                 240, 260, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace orvane::art
