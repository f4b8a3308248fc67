#include "tools/randomart/dna_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <filesystem>

#include "randomart_test_support.h"

namespace orvane {
namespace {

std::span<const std::uint8_t> asBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

std::int32_t wordAt(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= std::uint32_t(std::uint8_t(s[at + i])) << (8 * i);
  return std::int32_t(v);
}

void putWord(std::string& s, std::int32_t value) {
  for (int i = 0; i < 4; ++i) s += char(std::uint32_t(value) >> (8 * i));
}

Genome genesFrom(int count, int salt) {
  Genome g;
  g.count = count;
  for (int i = 0; i < count; ++i) {
    for (int k = 0; k < 8; ++k) g.genes[i].xy[k] = std::int8_t(i * 7 + k * 3 + salt);
    g.genes[i].attributes = std::uint32_t(i * 2654435761u + salt);
  }
  return g;
}

TEST(DnaFile, EmptyStateIsInfoAndParametersIn244Bytes) {
  RandomArtState state;
  const std::string dna = writeDna(state);
  ASSERT_EQ(dna.size(), 244u);
  EXPECT_EQ(dna.substr(0, 4), "INFO");
  EXPECT_EQ(wordAt(dna, 4), 32);
  EXPECT_EQ(wordAt(dna, 8), 192);
  EXPECT_EQ(wordAt(dna, 12), 96);
  EXPECT_EQ(wordAt(dna, 16), 1);
  EXPECT_EQ(wordAt(dna, 20), 1);
  EXPECT_EQ(dna.substr(24, 8), std::string(8, '\0'));
  EXPECT_EQ(dna.substr(32, 4), "PARA");
  EXPECT_EQ(wordAt(dna, 36), 0);
  EXPECT_EQ(wordAt(dna, 40), 25);
  EXPECT_EQ(wordAt(dna, 44 + 8 * 24), 24);
  EXPECT_EQ(wordAt(dna, 48 + 8 * 24), 730);
}

TEST(DnaFile, FullStatePlacesEveryChunkOnItsBoundary) {
  RandomArtState state;
  state.targetPixels = test::sampleTarget();
  state.best = genesFrom(10, 1);
  state.candidate = genesFrom(10, 2);
  const std::string dna = writeDna(state);
  ASSERT_EQ(dna.size(), 74'276u);
  EXPECT_EQ(dna.substr(32, 4), std::string("IMG\0", 4));
  EXPECT_EQ(wordAt(dna, 36), 73'744);
  EXPECT_EQ(wordAt(dna, 40), 192);
  EXPECT_EQ(std::memcmp(dna.data() + 48, state.targetPixels.data(), 73'728), 0);
  EXPECT_EQ(dna.substr(73'776, 4), "BEST");
  EXPECT_EQ(wordAt(dna, 73'776 + 4), 73'920 - 73'776);
  EXPECT_EQ(wordAt(dna, 73'776 + 8), 10);
  EXPECT_EQ(dna.substr(73'920, 4), std::string("GEN\0", 4));
  EXPECT_EQ(dna.substr(74'064, 4), "PARA");
  EXPECT_EQ(wordAt(dna, 74'064 + 4), 0);
}

TEST(DnaFile, ReadsBackWhatItWroteAndChunksInAnyOrder) {
  RandomArtState state;
  state.width = 32, state.height = 40;
  state.autoExport = false;
  state.targetPixels = test::sampleTarget();
  state.best = genesFrom(5, 3);
  state.candidate = genesFrom(3, 4);
  state.parameters.set(8, 77);
  const std::string dna = writeDna(state);

  RandomArtState again;
  again.bestBackdrop = GenomeBackdrop::None;  // as a fit leaves it
  ASSERT_TRUE(readDna(asBytes(dna), again));
  EXPECT_EQ(again.bestBackdrop, GenomeBackdrop::White);  // the file's genome is the evolution's
  EXPECT_EQ(again.width, 32);
  EXPECT_EQ(again.height, 40);
  EXPECT_FALSE(again.autoExport.load());
  EXPECT_TRUE(again.showProcessing.load());
  EXPECT_EQ(again.targetPixels, state.targetPixels);
  EXPECT_EQ(again.best.count, 5);
  EXPECT_TRUE(
      std::equal(state.best.genes.begin(), state.best.genes.begin() + 5, again.best.genes.begin()));
  EXPECT_EQ(again.candidate.count, 3);
  EXPECT_EQ(again.parameters.snapshot(), state.parameters.snapshot());

  // PARA first, then INFO far away behind a gap: the next fields alone lead the way.
  std::string shuffled;
  shuffled += "PARA";
  putWord(shuffled, 48);
  putWord(shuffled, 1);
  putWord(shuffled, 9);
  putWord(shuffled, 5);
  shuffled.resize(48, '\0');
  shuffled += "INFO";
  putWord(shuffled, 0);
  for (int v : {7, 8, 0, 0}) putWord(shuffled, v);
  RandomArtState mixed;
  mixed.best = genesFrom(4, 9);
  mixed.bestBackdrop = GenomeBackdrop::None;
  ASSERT_TRUE(readDna(asBytes(shuffled), mixed));
  EXPECT_EQ(mixed.parameters.get(9), 5);
  EXPECT_EQ(mixed.width, 7);
  EXPECT_FALSE(mixed.showProcessing.load());
  EXPECT_EQ(mixed.best.count, 4);  // no BEST chunk: the genome stays, with its backdrop
  EXPECT_EQ(mixed.bestBackdrop, GenomeBackdrop::None);
  EXPECT_TRUE(mixed.targetPixels.empty());
}

TEST(DnaFile, ParametersWithUnknownIndexesAreIgnoredAndValuesClamped) {
  std::string dna = "PARA";
  putWord(dna, 0);
  putWord(dna, 4);
  for (auto [index, value] : {std::pair{25, 1}, {-1, 1}, {1, 100000}, {8, -5}}) {
    putWord(dna, index);
    putWord(dna, value);
  }
  RandomArtState state;
  state.targetPixels = test::sampleTarget();
  ASSERT_TRUE(readDna(asBytes(dna), state));
  EXPECT_TRUE(state.targetPixels.empty());  // only PARA: no picture afterwards
  EvolutionParameters expected;
  expected.layerCountMax = 511;
  expected.coordMediumMoveWidth = 0;
  EXPECT_EQ(state.parameters.snapshot(), expected);
}

TEST(DnaFile, HostileFilesEndTheWalkAndStayInBounds) {
  // A chain that points back to its start, one that points past the end, a negative next.
  for (std::int32_t next : {0x7FFFFFF0, -16, 16}) {
    std::string dna = "INFO";
    putWord(dna, 16);
    for (int v : {1, 2, 0, 0}) putWord(dna, v);
    dna.resize(16, '\0');
    dna += "XXXX";
    putWord(dna, next == 16 ? -16 : next);
    RandomArtState state;
    EXPECT_TRUE(readDna(asBytes(dna), state));  // ends, whatever the next field says
  }
  // Gene counts beyond the genome or the file, a picture larger than allowed or than the file.
  std::string dna = "BEST";
  putWord(dna, 16);
  putWord(dna, 100000);
  dna.resize(16, '\0');
  dna += std::string("GEN\0", 4);
  putWord(dna, 32);
  putWord(dna, 3);
  dna += std::string(12 * 2, '\x05');  // the chunk ends after one whole gene
  dna.resize(48, '\0');
  dna += std::string("IMG\0", 4);
  putWord(dna, 32);
  putWord(dna, 100000);
  putWord(dna, 100000);
  dna.resize(80, '\0');
  dna += std::string("IMG\0", 4);
  putWord(dna, 0);
  putWord(dna, 192);
  putWord(dna, 96);
  dna += std::string(100, '\x01');  // pixel data shorter than announced
  RandomArtState state;
  ASSERT_TRUE(readDna(asBytes(dna), state));
  EXPECT_EQ(state.best.count, 0);  // its chunk holds no whole gene
  EXPECT_EQ(state.candidate.count, 1);
  EXPECT_TRUE(state.targetPixels.empty());

  std::string many = "BEST";
  putWord(many, 0);
  putWord(many, 5000);
  many += std::string(12 * 600, '\x02');
  RandomArtState full;
  ASSERT_TRUE(readDna(asBytes(many), full));
  EXPECT_EQ(full.best.count, kMaxGeneCount);
  EXPECT_FALSE(readDna(asBytes(std::string("INF")), full));
}

TEST(DnaFile, PicturesOfOtherSizesAreStretchedOverTheField) {
  std::string dna = std::string("IMG\0", 4);
  putWord(dna, 0);
  putWord(dna, 2);
  putWord(dna, 1);
  dna += std::string("\x00\x00\xFF\xFF\xFF\x00\x00\xFF", 8);  // red, then blue (B, G, R, A)
  RandomArtState state;
  ASSERT_TRUE(readDna(asBytes(dna), state));
  ASSERT_EQ(state.targetPixels.size(), std::size_t(kFieldPixels));
  EXPECT_EQ(state.width, 192);  // IMG leaves the chosen output size alone
  EXPECT_EQ(state.targetPixels[10 * kFieldWidth + 5], 0xFFFF0000u);
  EXPECT_EQ(state.targetPixels[50 * kFieldWidth + 185], 0xFF0000FFu);
}

TEST(DnaFile, TheOutputSizeIsClampedToWhatAnEmblemCanBe) {
  for (auto [width, height, keptWidth, keptHeight] :
       {std::array{-5, 2147483647, 1, 4096}, {0, 4097, 1, 4096}, {32, 4096, 32, 4096}}) {
    std::string dna = "INFO";
    putWord(dna, 0);
    putWord(dna, width);
    putWord(dna, height);
    RandomArtState state;
    ASSERT_TRUE(readDna(asBytes(dna), state));
    EXPECT_EQ(state.width, keptWidth) << width;
    EXPECT_EQ(state.height, keptHeight) << height;
  }
}

TEST(DnaFile, ExportAndImportGoThroughFiles) {
  const auto path = std::filesystem::temp_directory_path() / "orvane_dna_file_test.dna";
  RandomArtState state;
  state.best = genesFrom(6, 5);
  ASSERT_TRUE(exportDnaFile(path, state, nullptr));
  EXPECT_EQ(state.dnaPath, path.string());
  RandomArtState again;
  ASSERT_TRUE(importDnaFile(path, again, nullptr));
  EXPECT_EQ(again.best.count, 6);
  std::filesystem::remove(path);
  std::string error;
  EXPECT_FALSE(importDnaFile(path, again, nullptr, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace orvane
