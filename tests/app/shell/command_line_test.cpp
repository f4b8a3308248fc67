#include "app/shell/command_line.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <vector>

namespace orvane {
namespace {

namespace fs = std::filesystem;

TEST(CommandLine, FirstArgumentResolvedAgainstTheWorkingFolder) {
  using Args = std::vector<std::string>;
  EXPECT_EQ(fileToOpenAtStart(Args{}, "/work"), std::nullopt);
  EXPECT_EQ(fileToOpenAtStart(Args{""}, "/work"), std::nullopt);
  EXPECT_EQ(fileToOpenAtStart(Args{"crest.ovr"}, "/work"), fs::path("/work/crest.ovr"));
  EXPECT_EQ(fileToOpenAtStart(Args{"./sub/../a b.ovml", "/ignored.ovr"}, "/work"),
            fs::path("/work/a b.ovml"));
  EXPECT_EQ(fileToOpenAtStart(Args{"/abs/x.ovr"}, "/work"), fs::path("/abs/x.ovr"));
}

TEST(CommandLine, PathIsCheckedBeforeOpening) {
  const fs::path dir = fs::temp_directory_path() / ("orvane-cmdline-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::ofstream(dir / "x.ovr") << "x";
  const PathCheck file = checkFileToOpen(dir / "x.ovr");
  EXPECT_EQ(file.state, PathState::File);
  EXPECT_EQ(file.reason, "");
  const PathCheck folder = checkFileToOpen(dir);
  EXPECT_EQ(folder.state, PathState::Folder);
  EXPECT_NE(folder.reason.find(dir.string()), std::string::npos);
  const PathCheck missing = checkFileToOpen(dir / "gone.ovr");
  EXPECT_EQ(missing.state, PathState::Missing);
  EXPECT_NE(missing.reason.find("gone.ovr"), std::string::npos);
  EXPECT_EQ(checkFileToOpen("").state, PathState::Missing);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace orvane
