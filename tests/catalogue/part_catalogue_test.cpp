#include "catalogue/part_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace orvane {
namespace {

void expectCell(std::uint32_t id, float u, float v) {
  const AtlasCell cell = cellOf(id);
  EXPECT_EQ(cell.u, u) << "id " << id;
  EXPECT_EQ(cell.v, v) << "id " << id;
  EXPECT_EQ(cell.du, 1.0f / 16) << "id " << id;
  EXPECT_EQ(cell.dv, 1.0f / 32) << "id " << id;
}

TEST(PartCatalogue, CellsOfTheDecorationsAndCornerCases) {
  expectCell(0, 0, 0);
  expectCell(17, 1.0f / 16, 1.0f / 32);
  expectCell(240, 0, 7.0f / 32);
  expectCell(560, 0, 23.0f / 32);
  expectCell(729, 9.0f / 16, 31.0f / 32);
  expectCell(960, 0, 18.0f / 32);
  expectCell(100, 4.0f / 16, 14.0f / 32);
  expectCell(976, 0, 14.0f / 32);
  expectCell(1023, 15.0f / 16, 14.0f / 32);
  expectCell(5000, 8.0f / 16, 14.0f / 32);
}

TEST(PartCatalogue, EachAtlasRowHoldsTheSixteenIdsOfOneBlock) {
  // The row depends on the block of 16 ids alone, so a row's 16 cells are one block's 16 ids.
  for (std::uint32_t id = 0; id < 1100; ++id) {
    EXPECT_EQ(atlasRow(id), atlasRow(id / 16 * 16)) << "id " << id;
    EXPECT_GE(atlasRow(id), 0) << "id " << id;
    EXPECT_LT(atlasRow(id), kAtlasRows) << "id " << id;
  }
  // Rows are distinct: no two blocks share a row, except the fallback row and the blocks of
  // Other 785 ... 848 (ids 784 ... 847), which show the characters 16 ... 79 again.
  std::map<int, std::uint32_t> blockOfRow;
  for (std::uint32_t block = 0; block < kPartCount / 16; ++block) {
    const int row = atlasRow(block * 16);
    if (row == kFallbackAtlasRow || (block >= 49 && block <= 52)) continue;
    const auto [it, fresh] = blockOfRow.emplace(row, block);
    EXPECT_TRUE(fresh) << "blocks " << it->second << " and " << block << " share row " << row;
  }
  for (std::uint32_t block = 49; block <= 52; ++block) {
    EXPECT_EQ(atlasRow(block * 16), atlasRow((block - 48) * 16)) << "block " << block;
  }
  // Every row of the atlas is used: 31 rows of their own and the fallback row.
  EXPECT_EQ(blockOfRow.size(), std::size_t(kAtlasRows - 1));
  EXPECT_EQ(blockOfRow.count(kFallbackAtlasRow), 0u);
}

TEST(PartCatalogue, IdsOutsideThePlacedBlocksFallBackToRow14) {
  for (std::uint32_t id = 976; id < 1100; ++id) EXPECT_EQ(atlasRow(id), kFallbackAtlasRow) << id;
  // Below 976 only the placed blocks leave the fallback row: one for each of the other 31 rows,
  // and the 4 blocks of Other that share the characters' rows.
  int placed = 0;
  for (std::uint32_t block = 0; block < 976 / 16; ++block) {
    placed += atlasRow(block * 16) != kFallbackAtlasRow;
  }
  EXPECT_EQ(placed, (kAtlasRows - 1) + 4);
}

TEST(PartCatalogue, OnlyCharactersAndOtherShareCells) {
  for (std::uint32_t id = 784; id <= 847; ++id) {
    const AtlasCell a = cellOf(id), b = cellOf(id - 768);
    EXPECT_TRUE(a.u == b.u && a.v == b.v) << "id " << id;
  }
  std::map<std::pair<float, float>, std::uint32_t> owner;
  for (std::uint32_t id = 0; id < kPartCount; ++id) {
    if (!isNamedPart(id)) continue;
    const AtlasCell cell = cellOf(id);
    const auto [it, fresh] = owner.emplace(std::make_pair(cell.u, cell.v), id);
    if (!fresh) {
      EXPECT_TRUE(it->second + 768 == id && id >= 784 && id <= 847) << it->second << " and " << id;
    }
    EXPECT_NE(atlasRow(id), kFallbackAtlasRow) << "named id " << id << " falls back to row 14";
  }
}

TEST(PartCatalogue, CategoriesAndNumbersAtTheirBoundaries) {
  const struct {
    std::uint32_t id;
    PartCategory category;
    int number;
  } cases[] = {{0, PartCategory::Characters, 1},    {239, PartCategory::Characters, 240},
               {240, PartCategory::BasicShapes, 1}, {319, PartCategory::BasicShapes, 80},
               {320, PartCategory::Lines, 1},       {400, PartCategory::Ink, 1},
               {480, PartCategory::Gradations, 1},  {560, PartCategory::Fractals, 1},
               {640, PartCategory::Marks, 1},       {720, PartCategory::Pictures, 1},
               {783, PartCategory::Pictures, 64},   {784, PartCategory::Other, 1},
               {1023, PartCategory::Other, 240}};
  for (const auto& c : cases) {
    EXPECT_EQ(partCategory(c.id), c.category) << "id " << c.id;
    EXPECT_EQ(partNumber(c.id), c.number) << "id " << c.id;
  }
}

TEST(PartCatalogue, LabelsOfTheListInIdOrder) {
  const std::vector<std::u16string> labels = partLabels();
  ASSERT_EQ(labels.size(), 1024u);
  EXPECT_EQ(labels[0], u"0001:文字001 A");
  EXPECT_EQ(labels[52], u"0053:文字053 0");
  EXPECT_EQ(labels[86], u"0087:");
  EXPECT_EQ(labels[240], u"0241:基本図形001");
  EXPECT_EQ(labels[516], u"0517:グラデーション037");
  EXPECT_EQ(labels[517], u"0518:");
  EXPECT_EQ(labels[960], u"0961:その他177");
  EXPECT_EQ(labels[1023], u"1024:");
  EXPECT_EQ(labels[783], u"0784:");
  EXPECT_EQ(labels[26], u"0027:文字027 a");
  EXPECT_EQ(labels[61], u"0062:文字062 9");
  EXPECT_EQ(labels[62], u"0063:文字063");
  EXPECT_EQ(labels[80], u"0081:文字081 A");
  EXPECT_EQ(labels[165], u"0166:文字166 F");
  EXPECT_EQ(labels[166], u"0167:");
  EXPECT_EQ(labels[358], u"0359:ライン039");
  EXPECT_EQ(labels[438], u"0439:インク039");
  EXPECT_EQ(labels[580], u"0581:フラクタル021");
  EXPECT_EQ(labels[696], u"0697:マーク057");
  EXPECT_EQ(labels[729], u"0730:ピクチャー010");
  EXPECT_EQ(labels[847], u"0848:その他064");
  EXPECT_EQ(labels[848], u"0849:");
  EXPECT_EQ(labels[969], u"0970:その他186");
  EXPECT_EQ(labels[970], u"0971:");
  int named = 0;
  for (std::uint32_t id = 0; id < 1024; ++id) {
    EXPECT_EQ(labels[id], partLabel(id));
    named += labels[id].size() > 5 ? 1 : 0;
  }
  EXPECT_EQ(named, 92 + 52 + 39 + 39 + 37 + 21 + 57 + 10 + 74);
  EXPECT_TRUE(partLabel(1024).empty());
}

}  // namespace
}  // namespace orvane
