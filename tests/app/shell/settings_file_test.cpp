#include "app/shell/settings_file.h"

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <locale>
#include <random>
#include <stdexcept>

namespace orvane {
namespace {

namespace fs = std::filesystem;

constexpr char kDefaultFile[] =
    "WindowX=-2147483648\r\nWindowY=-2147483648\r\nWindowWidth=1167\r\nWindowHeight=438\r\n"
    "WindowTopMost=\r\nLayerPaneSize=137\r\nLayerPaneBorder=2\r\nDetailsPaneSize=250\r\n"
    "DetailsPaneBorder=2\r\nCurrentDirectory=/home/ann/emblems\r\nSaveImageScale=4\r\n"
    "ColorConvert=true\r\nGaussianBlur=\r\nViewerMode=\r\n"
    "ColorPalette1=#000000\r\nColorPalette2=#808080\r\nColorPalette3=#800000\r\n"
    "ColorPalette4=#808000\r\nColorPalette5=#008000\r\nColorPalette6=#008080\r\n"
    "ColorPalette7=#000080\r\nColorPalette8=#800080\r\nColorPalette9=#FFFFFF\r\n"
    "ColorPalette10=#C0C0C0\r\nColorPalette11=#FF0000\r\nColorPalette12=#FFFF00\r\n"
    "ColorPalette13=#00FF00\r\nColorPalette14=#00FFFF\r\nColorPalette15=#0000FF\r\n"
    "ColorPalette16=#FF00FF\r\n";

Settings defaultsIn(std::string folder) {
  Settings settings;
  settings.currentDirectory = std::move(folder);
  return settings;
}

// Every field away from its default, with values that survive being written and read.
Settings unusualSettings() {
  Settings s{.windowX = -1200,
             .windowY = 35,
             .windowWidth = 800,
             .windowHeight = 2000000000,
             .windowTopMost = true,
             .layerPaneSize = 0,
             .layerPaneBorder = -3,
             .detailsPaneSize = 999,
             .detailsPaneBorder = 7,
             .currentDirectory = "/tmp/紋章",
             .saveImageScale = 0.125f,
             .colorConvert = false,
             .gaussianBlur = true,
             .viewerMode = true,
             .colorPalette = kDefaultPalette,
             .recentFiles = {"/e/new.ovr", "/e/a=b.ovml", "/e/old.ovr"}};
  s.colorPalette[0] = {0x12, 0xAB, 0xEF};
  s.colorPalette[15] = {0x01, 0x02, 0x03};
  return s;
}

// Switches the C and C++ locales to German (comma decimal separator) for one scope.
// glibc's locale loading keeps copies of LOCPATH and the locale names it never frees; that is
// not this program's leak.
struct LeaksNotOurs {
#if defined(__SANITIZE_ADDRESS__)
  LeaksNotOurs() { __lsan_disable(); }
  ~LeaksNotOurs() { __lsan_enable(); }
#endif
};

class GermanLocale {
 public:
  GermanLocale() : savedC_(std::setlocale(LC_ALL, nullptr)) {
    [[maybe_unused]] LeaksNotOurs quiet;
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) return;
    try {
      savedCpp_ = std::locale::global(std::locale("de_DE.UTF-8"));
      active_ = true;
    } catch (const std::runtime_error&) {
      std::setlocale(LC_ALL, savedC_.c_str());
    }
  }
  ~GermanLocale() {
    if (!active_) return;
    [[maybe_unused]] LeaksNotOurs quiet;
    std::locale::global(savedCpp_);
    std::setlocale(LC_ALL, savedC_.c_str());
  }
  bool active() const { return active_; }

 private:
  std::string savedC_;
  std::locale savedCpp_;
  bool active_ = false;
};

TEST(SettingsWriting, DefaultsGiveTheExactBytesUnderAnyLocale) {
  EXPECT_EQ(formatSettings(defaultsIn("/home/ann/emblems")), kDefaultFile);
  Settings settings = unusualSettings();
  settings.saveImageScale = 2.5f;
  const std::string inC = formatSettings(settings);
  ASSERT_NE(inC.find("\r\nSaveImageScale=2.5\r\n"), std::string::npos);
  GermanLocale german;
  ASSERT_TRUE(german.active()) << "run through ctest, which builds the locale and sets LOCPATH";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%g", 2.5);
  ASSERT_STREQ(probe, "2,5");
  EXPECT_EQ(formatSettings(settings), inC);
  EXPECT_EQ(parseSettings(inC), settings);
}

TEST(SettingsWriting, EveryFieldSurvivesWritingAndReading) {
  const std::string text = formatSettings(unusualSettings());
  EXPECT_NE(text.find("\r\nWindowTopMost=true\r\nLayerPaneSize=0\r\nLayerPaneBorder=-3\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("\r\nSaveImageScale=0.125\r\nColorConvert=\r\nGaussianBlur=true\r\n"),
            std::string::npos);
  EXPECT_TRUE(
      text.ends_with("ColorPalette16=#010203\r\nRecentFile1=/e/new.ovr\r\n"
                     "RecentFile2=/e/a=b.ovml\r\nRecentFile3=/e/old.ovr\r\n"));
  EXPECT_EQ(parseSettings(text), unusualSettings());
}

TEST(SettingsWriting, ValuesThatWouldBreakTheirLineAreLeftOut) {
  Settings settings;
  settings.currentDirectory = "/tmp/x\r\nViewerMode=true";
  settings.recentFiles = {"", "/a\nb.ovr", "/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9"};
  const std::string text = formatSettings(settings);
  EXPECT_NE(text.find("\r\nCurrentDirectory=\r\n"), std::string::npos);
  std::string lastEight;
  for (int i = 1; i <= 8; ++i)
    lastEight += "RecentFile" + std::to_string(i) + "=/" + std::to_string(i) + "\r\n";
  EXPECT_TRUE(text.ends_with("ColorPalette16=#FF00FF\r\n" + lastEight)) << text;
  EXPECT_FALSE(parseSettings(text).viewerMode);
}

TEST(SettingsReading, OnlyExactKeysChangeTheirField) {
  Settings expected = defaultsIn("/start");
  expected.viewerMode = true;
  EXPECT_EQ(parseSettings("ViewerMode=true", defaultsIn("/start")), expected);
  EXPECT_EQ(parseSettings("WindowX = 10\nwindowx=11\n WindowX=12\nWindowX\nGaussianBlur =true\n"),
            Settings{});
}

TEST(SettingsReading, BooleansAreTrueOnlyForTheFourLetters) {
  const Settings on = parseSettings("WindowTopMost=true\nGaussianBlur=true\r\nViewerMode=true=x");
  EXPECT_TRUE(on.windowTopMost && on.gaussianBlur && on.viewerMode);
  const Settings off = parseSettings(
      "WindowTopMost=True\nColorConvert=\nGaussianBlur=true \nViewerMode=1\nColorConvert");
  EXPECT_FALSE(off.windowTopMost || off.colorConvert || off.gaussianBlur || off.viewerMode);
}

TEST(SettingsReading, NumbersReadLikeTheCLibrary) {
  const Settings s = parseSettings(
      "WindowX=  -12\nWindowY=+7px\nWindowWidth=abc\nWindowHeight=99999999999\n"
      "LayerPaneSize=-99999999999\nDetailsPaneSize=1\nDetailsPaneSize=300\nLayerPaneBorder=5=6");
  EXPECT_EQ(s.windowX, -12);
  EXPECT_EQ(s.windowY, 7);
  EXPECT_EQ(s.windowWidth, 0);
  EXPECT_EQ(s.windowHeight, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(s.layerPaneSize, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(s.detailsPaneSize, 300);  // a later line wins
  EXPECT_EQ(s.layerPaneBorder, 5);
  const auto scale = [](std::string value) {
    return parseSettings("SaveImageScale=" + value).saveImageScale;
  };
  EXPECT_EQ(scale("0.1"), 0.1f);
  EXPECT_EQ(scale(" 2.5e1x"), 25.0f);
  EXPECT_EQ(scale("x"), 0.0f);
  EXPECT_EQ(scale("1e300"), std::numeric_limits<float>::infinity());
  EXPECT_EQ(scale("-1e300"), -std::numeric_limits<float>::infinity());
}

TEST(SettingsReading, PathValues) {
  EXPECT_EQ(parseSettings("CurrentDirectory=D:\\a=b").currentDirectory, "D:\\a");
  const std::string tooLong = "CurrentDirectory=/" + std::string(kMaxSettingsPathBytes, 'x');
  EXPECT_EQ(parseSettings(tooLong, defaultsIn("/kept")).currentDirectory, "/kept");
  // Recent files keep their "=" and close the gaps; without such keys the list stays.
  Settings base;
  base.recentFiles = {"/old.ovr"};
  EXPECT_EQ(parseSettings("WindowX=1", base).recentFiles, base.recentFiles);
  const Settings s = parseSettings(
      "RecentFile3=/c.ovr\r\nRecentFile1=/a=1.ovml\r\nRecentFile9=/x\nRecentFile0=/y\n"
      "RecentFile05=/z\nRecentFile2=\n",
      base);
  EXPECT_EQ(s.recentFiles, (std::vector<std::string>{"/a=1.ovml", "/c.ovr"}));
}

TEST(SettingsReading, PaletteLines) {
  const Settings s = parseSettings(
      "ColorPalette3=#00ff00\nColorPalette17=#00FF00\nColorPalette0=#00FF00\nColorPalette4=00FF00\n"
      "ColorPalette05=#123456\nColorPalette2=#ABC\nColorPalette1=#11223344\n"
      "ColorPalette16=#12G4\nColorPalette15=#\nColorPalette=#FFFFFF\nColorPaletteX=#FFFFFF\n");
  auto expected = kDefaultPalette;
  expected[2] = {0x00, 0xFF, 0x00};
  expected[4] = {0x12, 0x34, 0x56};
  expected[1] = {0x00, 0x0A, 0xBC};
  expected[0] = {0x22, 0x33, 0x44};  // only the last six digits count
  expected[15] = {0x00, 0x00, 0x12};
  expected[14] = {0x00, 0x00, 0x00};
  EXPECT_EQ(s.colorPalette, expected);
}

TEST(SettingsReading, LineEndsAndEmbeddedZeroBytes) {
  using namespace std::string_literals;
  const Settings s = parseSettings(
      "WindowX=1\r\rWindowY=2\nWindowWidth\r=3\nWindow\0Height=4\nLayerPaneSize=5\0junk\n"
      "\n\r\n=\n==\nDetailsPaneSize=6"s);
  EXPECT_EQ(s.windowX, 1);
  EXPECT_EQ(s.windowY, Settings{}.windowY);  // the CR hides the rest of its line
  EXPECT_EQ(s.windowWidth, 3);               // the key ends at the CR
  EXPECT_EQ(s.windowHeight, Settings{}.windowHeight);
  EXPECT_EQ(s.layerPaneSize, 5);
  EXPECT_EQ(s.detailsPaneSize, 6);  // the last line needs no line end
}

TEST(SettingsReading, HostileTextTakesWhatCanBeTaken) {
  std::mt19937 random(1234);
  std::string noise(1 << 20, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  EXPECT_EQ(parseSettings(noise + "\nWindowX=77\n").windowX, 77);
  const std::string tenMegabytes(10 << 20, '9');
  const Settings s = parseSettings("WindowWidth=" + tenMegabytes + "\nWindowY=3");
  EXPECT_EQ(s.windowWidth, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(s.windowY, 3);
  EXPECT_EQ(parseSettings("SaveImageScale=" + tenMegabytes).saveImageScale,
            std::numeric_limits<float>::infinity());
  EXPECT_EQ(parseSettings("ColorPalette1=#" + tenMegabytes).colorPalette[0],
            (PaletteColour{0x99, 0x99, 0x99}));
  EXPECT_EQ(parseSettings(std::string(10 << 20, '=')), Settings{});
}

TEST(SettingsFile, SavesLoadsAndRefusesUnusableFiles) {
  const fs::path dir =
      fs::temp_directory_path() / ("orvane-settings-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  const fs::path path = dir / "per-user" / "OrvaneEditor.ini";
  std::string error;
  ASSERT_TRUE(saveSettingsFile(path, unusualSettings(), &error)) << error;
  Settings loaded;
  ASSERT_TRUE(loadSettingsFile(path, loaded, &error)) << error;
  EXPECT_EQ(loaded, unusualSettings());

  const Settings start = defaultsIn("/start");
  Settings settings = start;
  EXPECT_FALSE(loadSettingsFile(dir / "missing.ini", settings, &error));
  EXPECT_NE(error.find("missing.ini"), std::string::npos);
  std::ofstream(dir / "empty.ini").close();
  EXPECT_FALSE(loadSettingsFile(dir / "empty.ini", settings));
  std::ofstream(dir / "huge.ini") << "ViewerMode=true\n";
  fs::resize_file(dir / "huge.ini", kMaxSettingsFileBytes + 1);
  EXPECT_FALSE(loadSettingsFile(dir / "huge.ini", settings));
  EXPECT_FALSE(loadSettingsFile(dir, settings));
  EXPECT_EQ(settings, start);
  EXPECT_FALSE(saveSettingsFile(dir / "huge.ini" / "OrvaneEditor.ini", start, &error));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace orvane
