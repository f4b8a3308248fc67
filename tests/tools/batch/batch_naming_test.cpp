// Which files of a folder the batch conversion takes, in which order, and what it names their
// pictures.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tools/batch/batch_output_name.h"
#include "tools/batch/emblem_folder.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

TEST(EmblemFolder, TakesFilesEndingInOvrInAnyCaseSortedBytewise) {
  EXPECT_TRUE(isEmblemFileName(".ovr"));
  for (const char* name : {"a.ovrx", "a.ovr.bak", "ovr", "a.ovml", "a_ovr", ""}) {
    EXPECT_FALSE(isEmblemFileName(name)) << name;
  }
  const fs::path folder = fs::temp_directory_path() / ("batch_folder_" + std::to_string(getpid()));
  fs::create_directories(folder / "inner.ovr");  // a directory is never taken
  for (const char* name : {"b.ovr", "B.OVR", "a.ovrx", "é.ovr", "a.ovr", "Z.oVr", "notes.txt"}) {
    std::ofstream(folder / name) << "x";
  }
  EXPECT_EQ(listEmblemFiles(folder),
            (std::vector<std::string>{"B.OVR", "Z.oVr", "a.ovr", "b.ovr", "é.ovr"}));
  EXPECT_EQ(CountEmblemFiles(folder), 5);
  fs::remove_all(folder);
  EXPECT_TRUE(listEmblemFiles(folder).empty());
  EXPECT_EQ(CountEmblemFiles(folder), 0);
}

// The file name batchOutputPath gives for an emblem (or no emblem) read from `file`.
std::string outputName(const EmblemDocument& document, std::string_view file,
                       ImageFormat format = ImageFormat::Jpeg) {
  const fs::path path = batchOutputPath("out", format, document, file);
  EXPECT_EQ(path.parent_path(), fs::path("out"));
  return path.filename().string();
}

TEST(BatchOutputName, EmblemNameAndAuthorMadeSafeForTheFileSystem) {
  EmblemDocument document;
  document.newDocument(u"紋章 Crest", 192, 96);
  EmblemDocument::setInfo(document.root(), {-42, 192, 96, 0});
  EXPECT_EQ(outputName(document, "file.ovr"), "紋章 Crest (-42).jpg");
  EXPECT_EQ(outputName(document, "file.ovr", ImageFormat::Bmp), "紋章 Crest (-42).bmp");
  EXPECT_EQ(outputName(document, "file.ovr", ImageFormat::Tga), "紋章 Crest (-42).tga");
  EXPECT_EQ(outputName(document, "file.ovr", ImageFormat::Png), "紋章 Crest (-42).png");

  EmblemDocument::setName(document.root(),
                          u"a/b\\c\td\x7F"
                          u"e\x85"
                          u"f..");
  EXPECT_EQ(outputName(document, "x.ovr"), "a_b\\c_d_e_f.. (-42).jpg");
  EmblemDocument::setName(document.root(), u"");
  EXPECT_EQ(outputName(document, "Some File.OVR"), "Some File (-42).jpg");

  // 255 three-byte characters are cut to whole characters within the 255-byte limit.
  EmblemDocument::setName(document.root(), std::u16string(255, u'字'));
  const std::string longName = outputName(document, "x.ovr");
  const std::size_t stem = longName.size() - std::string(" (-42).jpg").size();
  EXPECT_EQ(longName.substr(stem), " (-42).jpg");
  EXPECT_LE(longName.size(), 255u);
  EXPECT_GT(longName.size(), 252u);
  EXPECT_EQ(stem % 3, 0u);

  // Without an info root the file's base name is used (and the export refuses the document).
  document.clear();
  EXPECT_EQ(outputName(document, "lonely.ovr", ImageFormat::Png), "lonely.png");
  EXPECT_EQ(outputName(document, "Capital.OVR"), "Capital.jpg");
}

}  // namespace
}  // namespace orvane
