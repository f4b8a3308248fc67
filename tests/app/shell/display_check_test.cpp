#include "app/shell/display_check.h"

#include <gtest/gtest.h>

#include <set>

namespace orvane {
namespace {

TEST(DisplayCheck, NeedsAListeningDisplayUnlessThePlatformNeedsNone) {
  const std::set<std::string> sockets{"/tmp/.X11-unix/X0", "/run/user/1/wayland-0"};
  auto exists = [&](const std::string& path) { return sockets.count(path) > 0; };
  EXPECT_EQ(missingDisplayReason({"", ":0", "", ""}, exists), std::nullopt);
  EXPECT_EQ(missingDisplayReason({"", ":0.0", "", ""}, exists), std::nullopt);
  EXPECT_EQ(missingDisplayReason({"", "remote:3", "", ""}, exists), std::nullopt);
  EXPECT_EQ(missingDisplayReason({"", "", "wayland-0", "/run/user/1"}, exists), std::nullopt);
  EXPECT_EQ(missingDisplayReason({"offscreen", "", "", ""}, exists), std::nullopt);
  // An X display without its server, none at all, or a Wayland name without its socket.
  EXPECT_NE(missingDisplayReason({"", ":7", "", ""}, exists), std::nullopt);
  EXPECT_NE(missingDisplayReason({"", "", "", ""}, exists), std::nullopt);
  EXPECT_NE(missingDisplayReason({"xcb", "", "", ""}, exists), std::nullopt);
  EXPECT_NE(missingDisplayReason({"", "", "wayland-9", "/run/user/1"}, exists), std::nullopt);
  const auto reason = missingDisplayReason({"", "", "", ""}, exists);
  ASSERT_TRUE(reason);
  EXPECT_EQ(reason->find('\n'), std::string::npos) << "one line";
}

}  // namespace
}  // namespace orvane
