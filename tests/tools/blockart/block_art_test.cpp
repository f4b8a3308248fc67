// The block-art mosaic: its geometry for usual and odd sizes, the group and layers it adds,
// their colours, and the refusals that leave the document alone.
#include "tools/blockart/block_art.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../../support/child_memory.h"
#include "base/utf.h"

namespace orvane {
namespace {

// A 15 x 15 picture whose pixel (x, y) is red x * 10, green y * 10, blue 7, alpha `alpha`.
Picture gradientPicture(std::uint8_t alpha = 255) {
  Picture picture{15, 15, {}};
  for (int y = 0; y < 15; ++y) {
    for (int x = 0; x < 15; ++x) {
      for (int v : {x * 10, y * 10, 7, int(alpha)}) picture.rgba.push_back(std::uint8_t(v));
    }
  }
  return picture;
}

TEST(BlockArtGeometry, SquaresOverlapByTwoUnitsOnTheGridOfTheSmallerSide) {
  // Standard: 8-unit squares every 6 units, spanning -46 ... 46.
  EXPECT_EQ(blockArtCell(192, 96), 6u);
  EXPECT_EQ(blockArtSquare(192, 96, 0, 0), (BlockArtSquare{-46, -46, -38, -38}));
  EXPECT_EQ(blockArtSquare(192, 96, 2, 5), (BlockArtSquare{-16, -34, -8, -26}));
  EXPECT_EQ(blockArtSquare(192, 96, 14, 14), (BlockArtSquare{38, 38, 46, 46}));
  // Small: 4-unit squares every 2 units.
  EXPECT_EQ(blockArtSquare(32, 32, 0, 0), (BlockArtSquare{-16, -16, -12, -12}));
  EXPECT_EQ(blockArtSquare(32, 32, 14, 14), (BlockArtSquare{12, 12, 16, 16}));
  // Below 15 the step is 0: every square is the same one from -1 to 1.
  for (auto [w, h] : {std::pair{14, 96}, {192, 0}}) {
    EXPECT_EQ(blockArtCell(w, h), 0u);
    EXPECT_EQ(blockArtSquare(w, h, 0, 0), (BlockArtSquare{-1, -1, 1, 1}));
    EXPECT_EQ(blockArtSquare(w, h, 14, 9), (BlockArtSquare{-1, -1, 1, 1}));
  }
  // Large sizes are not clamped: 2000 x 2000 gives a 133-unit step from -998 to 999.
  EXPECT_EQ(blockArtCell(2000, 2000), 133u);
  EXPECT_EQ(blockArtSquare(2000, 2000, 0, 0), (BlockArtSquare{-998, -998, -863, -863}));
  EXPECT_EQ(blockArtSquare(2000, 2000, 14, 14), (BlockArtSquare{864, 864, 999, 999}));
  // The cell is unsigned: a negative side wraps to a huge step (and wraps back, defined).
  EXPECT_EQ(blockArtCell(-15, 96), 0x11111110u);
  EXPECT_EQ(blockArtSquare(-15, 96, 0, 0).left, -2147483641);
}

class BlockArtGeneration : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(document.newDocument(u"crest", 192, 96));
    ASSERT_TRUE(document.appendChild(document.root(), document.makeNewLayer()));
    static const char* const kNames[] = {"Cleared",     "UpdateBegins", "UpdateEnds",
                                         "NodeAdded",   "NodeRemoved",  "NameChanged",
                                         "InfoChanged", "GroupChanged", "LayerChanged"};
    for (int e = 0; e < kDocumentEventCount; ++e) {
      document.registerCallback(DocumentEvent(e),
                                [this](const DocumentEventArgs& a, std::uint32_t) {
                                  const std::string name = kNames[int(a.event)];
                                  log.push_back(a.node ? name + ":" + utf16ToUtf8(a.node->name())
                                                       : name + "=" + std::to_string(a.value));
                                });
    }
    log.clear();
  }
  std::size_t topLevelCount() const {
    std::size_t count = 0;
    for (const EmblemNode* c = document.root()->firstChild(); c; c = c->next()) ++count;
    return count;
  }

  std::vector<std::string> log;  // declared first: the document's last Cleared still reaches it
  EmblemDocument document;
};

TEST_F(BlockArtGeneration, AddsOneGroupOnTopWith225LayersRowByRowInOneBulkChange) {
  const EmblemInfo info = document.root()->info();
  const EmblemNode* existing = document.root()->firstChild();
  BlockArtSettings settings;
  settings.part = 77;
  ASSERT_TRUE(GenerateBlockArt(document, gradientPicture(), settings));

  const EmblemNode* group = document.root()->firstChild();
  EXPECT_EQ(group->kind(), NodeKind::Group);
  EXPECT_EQ(group->name(), u"ブロックアート");
  EXPECT_TRUE(group->visible());
  EXPECT_EQ(group->next(), existing);
  EXPECT_EQ(document.root()->info(), info);  // the emblem's size is left alone
  ASSERT_EQ(EmblemDocument::countKind(group, NodeKind::Layer), 225u);
  int index = 0;
  for (const EmblemNode* layer = group->firstChild(); layer; layer = layer->next(), ++index) {
    const int row = index / 15, column = index % 15;
    EXPECT_EQ(layer->name(), u"レイヤー" + utf8ToUtf16(std::to_string(index + 1)));
    EXPECT_TRUE(layer->visible());
    const std::uint32_t colour =
        0xFF000000u | std::uint32_t(column * 10) << 16 | std::uint32_t(row * 10) << 8 | 7u;
    EXPECT_EQ(layer->layer(), blockArtLayer(blockArtSquare(192, 96, row, column), colour, 77));
  }
  // Layer 1 is the top-left square, the first child, drawn in front of the others.
  LayerRecord first;
  first.ltx = first.lbx = first.lty = first.rty = -46;
  first.rtx = first.rbx = first.lby = first.rby = -38;
  first.color = 0xFF000007u;
  first.partId = 77;
  EXPECT_EQ(group->firstChild()->layer(), first);
  // Observers see one bulk change: the group arrives (without GroupChanged), then each layer.
  ASSERT_EQ(log.size(), 3u + 2u * 225u);
  EXPECT_EQ(log[0], "UpdateBegins=0");
  EXPECT_EQ(log[1], "NodeAdded:ブロックアート");
  EXPECT_EQ(log[2], "LayerChanged:レイヤー1");
  EXPECT_EQ(log[3], "NodeAdded:レイヤー1");
  EXPECT_EQ(log[log.size() - 2], "NodeAdded:レイヤー225");
  EXPECT_EQ(log.back(), "UpdateEnds=1");
}

TEST_F(BlockArtGeneration, TransparentPicturesGiveBlackOpaqueSquares) {
  ASSERT_TRUE(GenerateBlockArt(document, gradientPicture(0), {}));
  for (const EmblemNode* l = document.root()->firstChild()->firstChild(); l; l = l->next()) {
    EXPECT_EQ(l->layer().color, 0xFF000000u);
  }
  // Half transparent: each channel times 128 / 255 (140 -> 70.3, 7 -> 3.5 rounds up).
  ASSERT_TRUE(GenerateBlockArt(document, gradientPicture(128), {}));
  EXPECT_EQ(document.root()->firstChild()->lastChild()->layer().color, 0xFF464604u);
}

TEST_F(BlockArtGeneration, PicturesThatCannotBeReadAddNothing) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("blockart_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "broken.png") << "this is no picture";
  for (const char* name : {"broken.png", "missing.png"}) {
    log.clear();
    std::string error;
    EXPECT_FALSE(GenerateBlockArt(document, {folder / name}, &error)) << name;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(log, (std::vector<std::string>{"UpdateBegins=0", "UpdateEnds=0"}));
  }
  EXPECT_FALSE(GenerateBlockArt(document, Picture{}, {}));
  EXPECT_EQ(topLevelCount(), 1u);
  EmblemDocument empty;
  EXPECT_FALSE(GenerateBlockArt(empty, gradientPicture(), {}));

  // A picture file that can be read, laid out for the small emblem.
  ASSERT_TRUE(writePictureFile(folder / "gradient.png", gradientPicture(), ImageFormat::Png, true));
  EXPECT_TRUE(GenerateBlockArt(document, {folder / "gradient.png", 242, 32, 32}));
  const EmblemNode* last = document.root()->firstChild()->lastChild();
  EXPECT_EQ(last->layer().color, 0xFF8C8C07u);
  EXPECT_EQ(last->layer().rbx, 16);
  EXPECT_EQ(last->layer().partId, 242);
  std::filesystem::remove_all(folder);
}

// A run-length TGA of side x side pixels of one colour: a small file for a large picture.
std::string flatTga(int side, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  std::string tga = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  tga += {char(side), char(side >> 8), char(side), char(side >> 8), 24, 0x20};
  for (long left = long(side) * side; left > 0; left -= 128) {
    tga += {char(std::min(left, 128L) - 1 + 128), char(blue), char(green), char(red)};
  }
  return tga;
}

TEST_F(BlockArtGeneration, LargePictureFilesAreReducedWhileRead) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("blockart_large_" + std::to_string(getpid()));
  std::ofstream(file, std::ios::binary) << flatTga(8192, 200, 100, 50);
  // The whole picture would take 256 MB; read for the mosaic it takes a few.
  EXPECT_LT(peakMegabytesOfChild([&] {
              return GenerateBlockArt(document, {file}) &&
                     document.root()->firstChild()->lastChild()->layer().color == 0xFFC86432u;
            }),
            40);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace orvane
