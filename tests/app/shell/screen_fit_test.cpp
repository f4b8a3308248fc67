#include "app/shell/screen_fit.h"

#include <gtest/gtest.h>

#include "app/shell/settings_file.h"

namespace orvane {
namespace {

// A primary 1920 x 1080 screen with a 1280 x 1024 screen to its right.
constexpr ScreenRect kScreens[] = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};

TEST(ScreenFit, VisibleWindowsStayWhereTheyAre) {
  EXPECT_EQ(fitWindowOnScreens({100, 50, 1167, 438}, kScreens), (ScreenRect{100, 50, 1167, 438}));
  EXPECT_EQ(fitWindowOnScreens({2000, 100, 800, 600}, kScreens), (ScreenRect{2000, 100, 800, 600}));
  EXPECT_EQ(fitWindowOnScreens({5, 5, 10, 10}, {}), (ScreenRect{5, 5, 10, 10}));
}

TEST(ScreenFit, WindowsMoveOntoTheScreenShowingMostOfThem) {
  // Mostly on the second screen, hanging over its right and bottom edges.
  EXPECT_EQ(fitWindowOnScreens({2800, 900, 800, 600}, kScreens), (ScreenRect{2400, 424, 800, 600}));
  // Across both screens, more on the primary.
  EXPECT_EQ(fitWindowOnScreens({1500, 0, 800, 600}, kScreens), (ScreenRect{1120, 0, 800, 600}));
  // Far off every screen: onto the nearest one.
  EXPECT_EQ(fitWindowOnScreens({90000, 300, 800, 600}, kScreens),
            (ScreenRect{2400, 300, 800, 600}));
  EXPECT_EQ(fitWindowOnScreens({-90000, -90000, 800, 600}, kScreens), (ScreenRect{0, 0, 800, 600}));
  EXPECT_EQ(fitWindowOnScreens({INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX}, kScreens),
            (ScreenRect{1920, 0, 1280, 1024}));
}

TEST(ScreenFit, SizesShrinkToTheScreenAndStayUsable) {
  EXPECT_EQ(fitWindowOnScreens({0, 0, 5000, 3000}, kScreens), (ScreenRect{0, 0, 1920, 1080}));
  EXPECT_EQ(fitWindowOnScreens({10, 10, -5, 0}, kScreens),
            (ScreenRect{10, 10, kMinimumWindowSide, kMinimumWindowSide}));
  // The window system places it; only the size is fitted, to the primary screen.
  EXPECT_EQ(
      fitWindowOnScreens({kDefaultWindowPosition, kDefaultWindowPosition, 4000, 438}, kScreens),
      (ScreenRect{kDefaultWindowPosition, kDefaultWindowPosition, 1920, 438}));
}

}  // namespace
}  // namespace orvane
