#include "app/shell/file_types.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {
namespace {

std::vector<std::string> dialogTexts(std::span<const FileFilter> filters) {
  std::vector<std::string> texts;
  for (const FileFilter& filter : filters) texts.push_back(dialogFilterText(filter));
  return texts;
}

TEST(FileTypes, DialogFiltersInOrder) {
  EXPECT_EQ(dialogTexts(openFileFilters()),
            (std::vector<std::string>{"オーヴェイン (*.ovml *.ovr)", "OVML ファイル (*.ovml)",
                                      "OVR ファイル (*.ovr)", "すべてのファイル (*.*)"}));
  EXPECT_EQ(dialogTexts(saveFileFilters()),
            (std::vector<std::string>{"OVML ファイル (*.ovml)", "OVR ファイル (*.ovr)",
                                      "BMP ファイル (*.bmp)", "JPEG ファイル (*.jpg)",
                                      "TGA ファイル (*.tga)", "PNG ファイル (*.png)",
                                      "すべてのファイル (*.*)"}));
}

TEST(FileTypes, ToolFiltersInOrder) {
  EXPECT_EQ(dialogTexts(pictureFileFilters()),
            (std::vector<std::string>{"イメージファイル (*.bmp *.jpg *.tga *.png)",
                                      "BMP ファイル (*.bmp)", "JPEG ファイル (*.jpg)",
                                      "TGA ファイル (*.tga)", "PNG ファイル (*.png)",
                                      "すべてのファイル (*.*)"}));
  EXPECT_EQ(dialogTexts(dnaFileFilters()),
            (std::vector<std::string>{"DNA ファイル (*.dna)", "すべてのファイル (*.*)"}));
}

TEST(FileTypes, ReaderByOpenTypeAndExtension) {
  using enum EmblemFileType;
  EXPECT_EQ(readerForOpenFilter(1, "/d/x.ovml"), Xml);
  EXPECT_EQ(readerForOpenFilter(1, "/d/X.OVR"), Binary);
  EXPECT_EQ(readerForOpenFilter(1, "/d/notes.txt"), std::nullopt);
  EXPECT_EQ(readerForOpenFilter(1, "/d/xovml"), std::nullopt);
  EXPECT_EQ(readerForOpenFilter(2, "/d/x.ovr"), Xml);
  EXPECT_EQ(readerForOpenFilter(3, "/d/x.ovml"), Binary);
  EXPECT_EQ(readerForOpenFilter(4, "/d/anything.ovr"), Xml);
  EXPECT_EQ(readerForOpenFilter(5, "/d/x.ovr"), std::nullopt);
  EXPECT_EQ(readerForPath("/d/dropped.txt"), std::nullopt);
  EXPECT_EQ(readerForPath("/d/DROPPED.OVR"), Binary);
}

TEST(FileTypes, WriterBySaveType) {
  using Kind = SaveTarget::Kind;
  EXPECT_EQ(saveTargetForFilter(1), (SaveTarget{Kind::EmblemFile, EmblemFileType::Xml}));
  EXPECT_EQ(saveTargetForFilter(2), (SaveTarget{Kind::EmblemFile, EmblemFileType::Binary}));
  const ImageFormat formats[] = {ImageFormat::Bmp, ImageFormat::Jpeg, ImageFormat::Tga,
                                 ImageFormat::Png};
  for (int type = 3; type <= 6; ++type) {
    const auto target = saveTargetForFilter(type);
    ASSERT_TRUE(target);
    EXPECT_EQ(target->kind, Kind::Picture);
    EXPECT_EQ(target->pictureFormat, formats[type - 3]);
  }
  EXPECT_EQ(saveTargetForFilter(7), (SaveTarget{Kind::EmblemFile, EmblemFileType::Xml}));
  EXPECT_EQ(saveTargetForFilter(0), std::nullopt);
  EXPECT_EQ(saveTargetForFilter(8), std::nullopt);
}

TEST(FileTypes, SaveTypesOneToSixEnsureTheirExtension) {
  EXPECT_EQ(withSaveExtension("/d/b.OVML", 1), "/d/b.OVML");
  EXPECT_EQ(withSaveExtension("/d/crest", 1), "/d/crest.ovml");
  EXPECT_EQ(withSaveExtension("/d/a.ovr", 1), "/d/a.ovr.ovml");
  EXPECT_EQ(withSaveExtension("/d/a.Ovr", 2), "/d/a.Ovr");
  EXPECT_EQ(withSaveExtension("/d/p.JPG", 4), "/d/p.JPG");
  EXPECT_EQ(withSaveExtension("/d/p.jpeg", 4), "/d/p.jpeg.jpg");
  EXPECT_EQ(withSaveExtension("/d/picture", 6), "/d/picture.png");
  EXPECT_EQ(withSaveExtension("/d/any.txt", 7), "/d/any.txt");
}

TEST(FileTypes, SaveWritesOnlyEmblemNamesWithoutAsking) {
  EXPECT_EQ(planSave(""), SavePlan{});
  EXPECT_TRUE(planSave("/d/exported.png").askWithSaveAs);
  EXPECT_TRUE(planSave("/d/opened-as-all-files.txt").askWithSaveAs);
  EXPECT_EQ(planSave("/d/a.ovr"), (SavePlan{false, EmblemFileType::Binary}));
  EXPECT_EQ(planSave("/d/b.OvMl"), (SavePlan{false, EmblemFileType::Xml}));
  EXPECT_EQ(saveFilterForPath("/d/b.OVML", 6), 1);
  EXPECT_EQ(saveFilterForPath("/d/a.ovr", 6), 2);
  EXPECT_EQ(saveFilterForPath("/d/a.txt", 6), 6);
}

}  // namespace
}  // namespace orvane
