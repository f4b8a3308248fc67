#include "app/shell/settings_location.h"

#include <gtest/gtest.h>
#include <unistd.h>

namespace orvane {
namespace {

namespace fs = std::filesystem;

TEST(SettingsLocation, ProgramFolderFirstThenThePerUserFolder) {
  const ConfigEnvironment both{"/home/ann/.cfg", "/home/ann"};
  EXPECT_EQ(chooseSettingsPath("/opt/orvane", true, both),
            fs::path("/opt/orvane/OrvaneEditor.ini"));
  EXPECT_EQ(chooseSettingsPath("/usr/bin", false, both),
            fs::path("/home/ann/.cfg/orvane/OrvaneEditor.ini"));
  EXPECT_EQ(chooseSettingsPath("/usr/bin", false, {"", "/home/ann"}),
            fs::path("/home/ann/.config/orvane/OrvaneEditor.ini"));
  // A relative XDG_CONFIG_HOME is not a valid base folder.
  EXPECT_EQ(chooseSettingsPath("/usr/bin", false, {"cfg", "/home/ann"}),
            fs::path("/home/ann/.config/orvane/OrvaneEditor.ini"));
  EXPECT_EQ(chooseSettingsPath("/usr/bin", false, {"", "relative"}), std::nullopt);
  EXPECT_EQ(chooseSettingsPath("", true, {"", ""}), std::nullopt);
  // An installed program keeps its settings in the user's folder even when root may write
  // beside it.
  EXPECT_EQ(chooseSettingsPath("/usr/bin", true, both),
            fs::path("/home/ann/.cfg/orvane/OrvaneEditor.ini"));
  EXPECT_EQ(chooseSettingsPath("/usr/local/bin", true, both),
            fs::path("/home/ann/.cfg/orvane/OrvaneEditor.ini"));
  EXPECT_EQ(chooseSettingsPath("/home/ann/orvane", true, both),
            fs::path("/home/ann/orvane/OrvaneEditor.ini"));
}

TEST(SettingsLocation, AsksTheFileSystemWhetherTheProgramFolderIsWritable) {
  const fs::path writable = fs::temp_directory_path();
  const ConfigEnvironment environment{"/cfg", "/home/ann"};
  EXPECT_EQ(settingsPathFor(writable, environment), writable / "OrvaneEditor.ini");
  const fs::path missing = writable / ("orvane-no-such-folder-" + std::to_string(::getpid()));
  EXPECT_EQ(settingsPathFor(missing, environment), fs::path("/cfg/orvane/OrvaneEditor.ini"));
}

}  // namespace
}  // namespace orvane
