#pragma once

#include <cstdint>
#include <span>

namespace orvane {

// A rectangle in desktop pixels: left, top, width and height.
struct ScreenRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Smallest window side the fit leaves, so a damaged settings file cannot make the window vanish.
inline constexpr std::int32_t kMinimumWindowSide = 64;

// Places a saved window rectangle on the available screens (primary first): the window goes onto
// the screen showing most of it, or the nearest screen when it shows on none, shrinking to that
// screen's size and moving as little as needed to lie wholly on it. A position holding
// kDefaultWindowPosition is left to the window system; only the size is fitted then, to the
// primary screen. Without screens the rectangle is returned unchanged.
ScreenRect fitWindowOnScreens(const ScreenRect& window, std::span<const ScreenRect> screens);

}  // namespace orvane
