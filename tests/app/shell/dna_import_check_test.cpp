#include "app/shell/dna_import_check.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tools/randomart/dna_file.h"

namespace orvane {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

void putWord(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = std::uint8_t(std::uint32_t(value) >> (8 * i));
}

// A file as the dialog writes it: INFO at 0, IMG at 32, BEST, GEN and PARA after it.
std::vector<std::uint8_t> fullFile() {
  RandomArtState state;
  state.targetPixels.assign(kFieldPixels, 0xFF336699u);
  state.best.count = 4;
  state.candidate.count = 2;
  return bytesOf(writeDna(state));
}

constexpr std::size_t kImgAt = 32, kBestAt = 73776;

TEST(DnaImportCheck, FilesTheDialogWritesPass) {
  EXPECT_EQ(dnaFileProblem(fullFile()), std::nullopt);
  RandomArtState empty;
  EXPECT_EQ(dnaFileProblem(bytesOf(writeDna(empty))), std::nullopt);
}

TEST(DnaImportCheck, ShortFilesAndOtherFilesAreRefused) {
  EXPECT_TRUE(dnaFileProblem({}));
  EXPECT_TRUE(dnaFileProblem(bytesOf("INFO")));
  std::vector<std::uint8_t> png =
      bytesOf(std::string("\x89PNG\r\n\x1a\n", 8) + std::string(64, 'x'));
  const auto problem = dnaFileProblem(png);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find("not a DNA file"), std::string::npos);
}

TEST(DnaImportCheck, BrokenChainsAreRefused) {
  std::vector<std::uint8_t> file = fullFile();
  putWord(file, 4, -32);  // INFO's next points backwards
  EXPECT_TRUE(dnaFileProblem(file));
  file = fullFile();
  putWord(file, 4, 4);  // into its own header
  EXPECT_TRUE(dnaFileProblem(file));
  file = fullFile();
  putWord(file, kImgAt + 4, 1 << 30);  // past the end
  EXPECT_TRUE(dnaFileProblem(file));
  file = fullFile();
  file.resize(file.size() - 100);  // PARA cut short
  EXPECT_TRUE(dnaFileProblem(file));
}

TEST(DnaImportCheck, ChunksMustHoldWhatTheyAnnounce) {
  std::vector<std::uint8_t> file = fullFile();
  putWord(file, kImgAt + 8, 20000);  // picture width beyond any DNA picture
  EXPECT_TRUE(dnaFileProblem(file));
  file = fullFile();
  putWord(file, kImgAt + 12, 200);  // taller than the bytes present
  EXPECT_TRUE(dnaFileProblem(file));
  file = fullFile();
  putWord(file, kBestAt + 8, 600);  // more genes than a genome holds
  const auto problem = dnaFileProblem(file);
  ASSERT_TRUE(problem);
  EXPECT_NE(problem->find(std::to_string(kBestAt)), std::string::npos);
  file = fullFile();
  putWord(file, kBestAt + 8, -1);
  EXPECT_TRUE(dnaFileProblem(file));
}

TEST(DnaImportCheck, UnknownChunksAfterTheFirstAreSkipped) {
  std::vector<std::uint8_t> file = fullFile();
  std::memcpy(file.data() + kImgAt, "XTRA", 4);  // the picture's chunk renamed
  EXPECT_EQ(dnaFileProblem(file), std::nullopt);
}

}  // namespace
}  // namespace orvane
