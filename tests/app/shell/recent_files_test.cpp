#include "app/shell/recent_files.h"

#include <gtest/gtest.h>

#include <set>

namespace orvane {
namespace {

using Paths = std::vector<std::string>;

TEST(RecentFiles, NewestFirstWithoutRepeatsAndAtMostEight) {
  RecentFiles recent;
  for (int i = 1; i <= 10; ++i) recent.add("/e/" + std::to_string(i) + ".ovr");
  EXPECT_EQ(recent.paths(), (Paths{"/e/10.ovr", "/e/9.ovr", "/e/8.ovr", "/e/7.ovr", "/e/6.ovr",
                                   "/e/5.ovr", "/e/4.ovr", "/e/3.ovr"}));
  recent.add("/e/./5.ovr");  // the same file by another spelling moves to the front
  EXPECT_EQ(recent.paths().front(), "/e/./5.ovr");
  EXPECT_EQ(recent.paths().size(), 8u);
  EXPECT_EQ(std::count(recent.paths().begin(), recent.paths().end(), "/e/5.ovr"), 0);
  recent.add("");
  recent.remove("/e/10.ovr");
  EXPECT_EQ(recent.paths(), (Paths{"/e/./5.ovr", "/e/9.ovr", "/e/8.ovr", "/e/7.ovr", "/e/6.ovr",
                                   "/e/4.ovr", "/e/3.ovr"}));
}

TEST(RecentFiles, StoredListIsCleanedWhenTaken) {
  const RecentFiles recent({"/a.ovr", "", "/b.ovr", "/a.ovr", "/c.ovr"}, 2);
  EXPECT_EQ(recent.paths(), (Paths{"/a.ovr", "/b.ovr"}));
}

TEST(RecentFiles, MissingFilesAreMarkedOrDropped) {
  const std::set<std::string> present{"/here.ovr", "/also.ovml"};
  auto exists = [&](const std::string& path) { return present.contains(path); };
  RecentFiles recent({"/here.ovr", "/gone.ovr", "/also.ovml"});
  EXPECT_EQ(recent.entries(exists),
            (std::vector<RecentFileEntry>{
                {"/here.ovr", false}, {"/gone.ovr", true}, {"/also.ovml", false}}));
  recent.dropMissing(exists);
  EXPECT_EQ(recent.paths(), (Paths{"/here.ovr", "/also.ovml"}));
  // The real check: a folder is not a file.
  EXPECT_FALSE(regularFileExists("/"));
  EXPECT_FALSE(regularFileExists("/no/such/file.ovr"));
}

}  // namespace
}  // namespace orvane
