#include "app/shell/window_title.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(WindowTitle, FileNameThenProgramTitle) {
  EXPECT_EQ(windowTitle(""), "無題 - オーヴェインエディタ");
  EXPECT_EQ(windowTitle("/home/ann/crest.ovml"), "crest.ovml - オーヴェインエディタ");
  EXPECT_EQ(windowTitle("relative.ovr"), "relative.ovr - オーヴェインエディタ");
  EXPECT_EQ(windowTitle("/エンブレム/紋章.ovr"), "紋章.ovr - オーヴェインエディタ");
}

TEST(WindowTitle, ModifiedMarkerFollowsTheFileName) {
  EXPECT_EQ(windowTitle("/home/ann/crest.ovml", true), "crest.ovml[*] - オーヴェインエディタ");
  EXPECT_EQ(windowTitle("", true), "無題[*] - オーヴェインエディタ");
  EXPECT_EQ(windowTitle("/home/ann/crest.ovml", false), "crest.ovml - オーヴェインエディタ");
  // A literal "[*]" in a name is doubled so that Qt does not take it for the marker.
  EXPECT_EQ(windowTitle("/x/a[*]b.ovr", true), "a[*][*]b.ovr[*] - オーヴェインエディタ");
  EXPECT_EQ(windowTitle("/x/[*][*.ovr", false), "[*][*][*.ovr - オーヴェインエディタ");
}

}  // namespace
}  // namespace orvane
