// The batch conversion run: what it writes and reports, how it cancels, and that its worker
// threads leave exactly the pictures of a one-by-one run.
#include "tools/batch/batch_conversion.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "../../support/child_memory.h"
#include "formats/binary_emblem_file.h"
#include "formats/parts_atlas.h"
#include "resources/embedded_parts_atlas.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// "<text><number><suffix>", built step by step (GCC 12 warns wrongly about the one-line sum).
std::string numbered(std::string text, int number, std::string_view suffix = "") {
  text += std::to_string(number);
  text += suffix;
  return text;
}

std::string contentsOf(const fs::path& path) {
  std::stringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

std::map<std::string, std::string> folderContents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    files[entry.path().filename().string()] = contentsOf(entry.path());
  }
  return files;
}

class BatchConversion : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(loadEmbeddedPartsAtlas(atlas));
    root = fs::temp_directory_path() /
           numbered("batch_run_", int(getpid()),
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "in");
    fs::create_directories(root / "out");
    settings.inputFolder = root / "in";
    settings.outputFolder = root / "out";
    settings.format = ImageFormat::Png;
    settings.picture.blur = false;
  }
  void TearDown() override { fs::remove_all(root); }

  // An emblem with one layer whose colour and place follow `shade`.
  static void makeEmblem(EmblemDocument& document, std::u16string_view name, int author, int shade,
                         int width) {
    document.newDocument(name, width, 96);
    EmblemDocument::setInfo(document.root(), {author, width, 96, 0});
    NodePtr layer = document.makeNewLayer();
    LayerRecord record = EmblemDocument::defaultLayerRecord();
    record.color = 0xFF003070u | std::uint32_t(shade * 40) << 16;
    record.ltx = record.lbx = -30 + shade;
    EmblemDocument::setLayerRecord(layer.get(), record);
    document.appendChild(document.root(), std::move(layer));
  }
  void writeEmblem(const std::string& file, std::u16string_view name, int author, int shade,
                   int width = 192) {
    EmblemDocument document;
    makeEmblem(document, name, author, shade, width);
    ASSERT_TRUE(writeBinaryEmblem(document, root / "in" / file));
  }
  // The picture a run should make of an emblem.
  std::string expectedPicture(std::u16string_view name, int author, int shade) {
    EmblemDocument document;
    makeEmblem(document, name, author, shade, 192);
    EXPECT_TRUE(exportBatchPicture(document, atlas.pixels(), root / "expected.png", settings));
    return contentsOf(root / "expected.png");
  }
  BatchReport run(const BatchProgress& progress = {}) {
    return RunBatchConversion(settings, atlas.pixels(), running, progress);
  }

  PartsAtlasBuffer atlas;
  fs::path root;
  BatchSettings settings;
  std::atomic<bool> running{true};
};

TEST_F(BatchConversion, ConvertsEmblemFilesAndReportsTheFilesThatFail) {
  writeEmblem("one.ovr", u"Alpha", 1, 1);
  writeEmblem("TWO.OVR", u"Beta", 2, 2);      // capital extension: converted
  writeEmblem("three.ovrx", u"Gamma", 3, 3);  // longer extension: not taken
  std::ofstream(root / "in" / "broken.ovr") << "not an emblem";
  writeEmblem("wide.ovr", u"Wide", 4, 4, 0);  // a zero-width emblem cannot be exported

  const BatchReport report = run();
  EXPECT_EQ(report.total, 4);
  EXPECT_EQ(report.handled, 4);
  EXPECT_EQ(report.written, 2);
  EXPECT_FALSE(report.cancelled);
  const auto files = folderContents(root / "out");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files.at("Alpha (1).png"), expectedPicture(u"Alpha", 1, 1));
  EXPECT_EQ(files.at("Beta (2).png"), expectedPicture(u"Beta", 2, 2));
  ASSERT_EQ(report.failures.size(), 2u);
  EXPECT_EQ(report.failures[0].file, root / "in" / "broken.ovr");
  EXPECT_EQ(report.failures[1].file, root / "in" / "wide.ovr");
  EXPECT_FALSE(report.failures[0].reason.empty());
  EXPECT_FALSE(report.failures[1].reason.empty());

  // A document without an info root gets no picture.
  EmblemDocument empty;
  std::string error;
  EXPECT_FALSE(exportBatchPicture(empty, atlas.pixels(), root / "out" / "x.png", settings, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(fs::exists(root / "out" / "x.png"));
}

TEST_F(BatchConversion, SpecialFilesAndBrokenLinksAreReportedAndWriteFailuresNameThePicture) {
  writeEmblem("good.ovr", u"Good", 1, 1);
  writeEmblem("kept.ovr", u"Kept", 2, 2);
  ASSERT_EQ(::mkfifo((root / "in" / "fifo.ovr").c_str(), 0666), 0);
  fs::create_symlink("nowhere.ovr", root / "in" / "gone.ovr");
  fs::create_symlink("loop.ovr", root / "in" / "loop.ovr");
  fs::create_directory(root / "in" / "folder");
  fs::create_symlink("folder", root / "in" / "folder.ovr");  // a link to a folder is passed over
  std::ofstream(root / "out" / "Kept (2).png") << "read-only";
  fs::permissions(root / "out" / "Kept (2).png", fs::perms::owner_read);

  const BatchReport report = run();
  EXPECT_EQ(report.total, 5);
  EXPECT_EQ(report.written, 1);
  ASSERT_EQ(report.failures.size(), 4u);
  const std::pair<const char*, const char*> expected[] = {
      {"fifo.ovr", "not a regular file"},
      {"gone.ovr", "No such file or directory"},
      {"kept.ovr", "file is read-only"},
      {"loop.ovr", "Too many levels of symbolic links"}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(report.failures[i].file, root / "in" / expected[i].first);
    EXPECT_NE(report.failures[i].reason.find(expected[i].second), std::string::npos)
        << report.failures[i].reason;
  }
  EXPECT_EQ(report.failures[2].output, root / "out" / "Kept (2).png");
  EXPECT_TRUE(report.failures[0].output.empty());
}

TEST_F(BatchConversion, LargePicturesAreDrawnFewerAtATimeWithinTheMemoryBudget) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine, so peaks add up";
#endif
  for (int i = 0; i < 3; ++i) writeEmblem(numbered("m", i, ".ovr"), u"M", i, i);
  settings.jobs = 3;
  // 4800 x 2400 pixels: 46 MB drawn and a 35 MB file each, too large for the allocator to keep.
  settings.picture.scale = 25;
  settings.format = ImageFormat::Bmp;
  auto peak = [&](std::uint64_t budget) {
    settings.memoryBudget = budget;
    return peakMegabytesOfChild([&] { return run().written == 3; });
  };
  const long together = peak(std::uint64_t{1} << 40), oneByOne = peak(std::uint64_t{1} << 20);
  EXPECT_LT(oneByOne, 120) << together;
  EXPECT_GT(together, oneByOne + 70) << oneByOne;
}

TEST_F(BatchConversion, SameNameAndAuthorGiveOnePictureFromTheLatestFileThatWorks) {
  writeEmblem("a.ovr", u"Twin", 5, 1);
  writeEmblem("b.ovr", u"Twin", 5, 2);
  writeEmblem("c.ovr", u"Twin", 6, 3);  // another author: a picture of its own
  writeEmblem("d.ovr", u"Pair", 7, 4);
  writeEmblem("e.ovr", u"Pair", 7, 5, 0);  // the later one fails: "Pair" keeps d's picture
  const BatchReport report = run();
  EXPECT_EQ(report.handled, 5);
  EXPECT_EQ(report.written, 3);
  EXPECT_EQ(report.replaced, 1);  // a.ovr; e.ovr failed, so d.ovr was not replaced
  ASSERT_EQ(report.failures.size(), 1u);
  EXPECT_EQ(report.failures[0].file, root / "in" / "e.ovr");
  const auto files = folderContents(root / "out");
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files.at("Twin (5).png"), expectedPicture(u"Twin", 5, 2));
  EXPECT_NE(files.at("Twin (5).png"), expectedPicture(u"Twin", 5, 1));
  EXPECT_EQ(files.at("Twin (6).png"), expectedPicture(u"Twin", 6, 3));
  EXPECT_EQ(files.at("Pair (7).png"), expectedPicture(u"Pair", 7, 4));
}

TEST_F(BatchConversion, ProgressCountsEachFileWithTheFolderCountedAgain) {
  for (int i = 0; i < 5; ++i) writeEmblem(numbered("e", i, ".ovr"), u"E", i, i);
  std::ofstream(root / "in" / "bad.ovr") << "x";
  std::vector<std::pair<int, int>> calls;
  settings.jobs = 2;
  const BatchReport report = run([&](int position, int total) {
    calls.emplace_back(position, total);
    // A file that appears during the run shows in the later totals but is not converted.
    if (position == 3) writeEmblem("late.ovr", u"Late", 9, 9);
  });
  ASSERT_EQ(calls.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(calls[i], std::pair(i + 1, i < 3 ? 6 : 7));
  EXPECT_EQ(report.total, 6);
  EXPECT_EQ(report.written, 5);
  EXPECT_FALSE(fs::exists(root / "out" / "Late (9).png"));
}

TEST_F(BatchConversion, CancellingLetsTheFilesInHandFinishAndStartsNoOther) {
  // Cancelled at the first file's report: at most the files already in hand follow it.
  for (int i = 0; i < 3 * batchFilesInHand(2); ++i) {
    writeEmblem(numbered("c", i, ".ovr"), u"C", i, i);
  }
  for (int jobs : {1, 2}) {
    fs::remove_all(root / "out");
    fs::create_directories(root / "out");
    running = true;
    settings.jobs = jobs;
    const BatchReport report = run([&](int, int) { running = false; });
    EXPECT_TRUE(report.cancelled) << jobs;
    EXPECT_GE(report.handled, 1);
    EXPECT_LE(report.handled, batchFilesInHand(jobs));
    EXPECT_EQ(report.written, report.handled);
    EXPECT_EQ(int(folderContents(root / "out").size()), report.written);
  }
  running = false;  // cleared before the start: nothing at all
  fs::remove_all(root / "out");
  fs::create_directories(root / "out");
  const BatchReport none = run();
  EXPECT_TRUE(none.cancelled);
  EXPECT_EQ(none.handled, 0);
  EXPECT_TRUE(folderContents(root / "out").empty());
}

TEST_F(BatchConversion, ParallelRunsLeaveTheSequentialPicturesByteForByte) {
  // Names and authors repeat, so several threads would reach the same outputs.
  for (int i = 0; i < 14; ++i) {
    writeEmblem(numbered("f", i, ".ovr"), i % 4 ? u"Same" : u"Other", i % 3, i);
  }
  std::ofstream(root / "in" / "f5b.ovr") << "damaged";
  settings.picture.blur = true;
  settings.format = ImageFormat::Jpeg;
  std::map<std::string, std::string> sequential;
  for (int jobs : {1, 2, 3}) {
    settings.outputFolder = root / numbered("out", jobs);
    fs::create_directories(settings.outputFolder);
    settings.jobs = jobs;
    const BatchReport report = run();
    EXPECT_EQ(report.handled, 15);
    EXPECT_EQ(report.replaced, 8) << jobs << " jobs";  // 14 readable files, 6 pictures
    ASSERT_EQ(report.failures.size(), 1u);
    EXPECT_EQ(report.failures[0].file, root / "in" / "f5b.ovr");
    const auto files = folderContents(settings.outputFolder);
    if (jobs == 1) sequential = files;
    EXPECT_EQ(files.size(), 6u);  // "Other" and "Same" with authors 0, 1 and 2
    EXPECT_EQ(files, sequential) << jobs << " jobs";
  }
}

}  // namespace
}  // namespace orvane
