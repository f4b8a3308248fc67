#include "app/shell/neighbour_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

namespace orvane {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(NeighbourFiles, OnlyBinaryEmblemsSortedByNameIgnoringCase) {
  EXPECT_EQ(neighbourEmblemNames({"c.ovr", "a.ovr", "B.OVR", "notes.txt", "d.ovml", "x.ovr.bak",
                                  "A.ovr", "紋章.ovr", "b10.Ovr"}),
            (Names{"A.ovr", "a.ovr", "B.OVR", "b10.Ovr", "c.ovr", "紋章.ovr"}));
  EXPECT_EQ(neighbourEmblemNames({}), Names{});
}

TEST(NeighbourFiles, BrowsingWrapsAround) {
  const Names names{"a.ovr", "b.ovr", "c.ovr"};
  const int b = neighbourIndexOf(names, "b.ovr");
  ASSERT_EQ(b, 1);
  const auto next = browseNeighbour(b, 3, BrowseDirection::Next);
  EXPECT_EQ(next, 2);
  EXPECT_EQ(browseNeighbour(*next, 3, BrowseDirection::Next), 0);
  EXPECT_EQ(browseNeighbour(0, 3, BrowseDirection::Previous), 2);
  EXPECT_EQ(browseNeighbour(2, 3, BrowseDirection::Previous), 1);
  // An .ovml file is not in the list: Next opens the first entry, Previous the last.
  const int absent = neighbourIndexOf(names, "b.ovml");
  EXPECT_EQ(absent, -1);
  EXPECT_EQ(browseNeighbour(absent, 3, BrowseDirection::Next), 0);
  EXPECT_EQ(browseNeighbour(absent, 3, BrowseDirection::Previous), 2);
  EXPECT_EQ(neighbourIndexOf(names, "B.ovr"), -1);  // names compare exactly
  EXPECT_EQ(browseNeighbour(-1, 0, BrowseDirection::Next), std::nullopt);
  EXPECT_EQ(browseNeighbour(0, 1, BrowseDirection::Next), 0);
}

TEST(NeighbourFiles, ListsTheFilesOfOneFolder) {
  const fs::path dir =
      fs::temp_directory_path() / ("orvane-neighbours-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "folder.ovr");
  fs::create_directories(dir / "sub");
  for (const char* name : {"b.ovr", "A.OVR", "c.ovml", "sub/inner.ovr"}) std::ofstream(dir / name);
  EXPECT_EQ(listNeighbourEmblemNames(dir), (Names{"A.OVR", "b.ovr"}));
  fs::remove_all(dir);
  EXPECT_EQ(listNeighbourEmblemNames(dir), Names{});
}

}  // namespace
}  // namespace orvane
