#include "app/shell/screen_fit.h"

#include <algorithm>
#include <limits>

#include "app/shell/settings_file.h"

namespace orvane {
namespace {

// Saved values are taken unchecked, so all arithmetic runs in 64 bits.
struct Span {
  std::int64_t start;
  std::int64_t length;
  std::int64_t end() const { return start + length; }
};

std::int64_t overlap(Span a, Span b) {
  return std::max<std::int64_t>(0, std::min(a.end(), b.end()) - std::max(a.start, b.start));
}

// Distance from a point to a span (0 inside it).
std::int64_t distance(std::int64_t point, Span span) {
  if (point < span.start) return span.start - point;
  if (point >= span.end()) return point - span.end() + 1;
  return 0;
}

Span horizontal(const ScreenRect& r) { return {r.x, std::max<std::int64_t>(r.width, 0)}; }
Span vertical(const ScreenRect& r) { return {r.y, std::max<std::int64_t>(r.height, 0)}; }

// The screen showing the largest part of the window, else the one nearest its centre; ties go to
// the earlier screen, so the primary wins.
const ScreenRect& targetScreen(const ScreenRect& window, std::span<const ScreenRect> screens) {
  const ScreenRect* best = &screens.front();
  std::int64_t bestArea = 0;
  for (const ScreenRect& screen : screens) {
    const std::int64_t area = overlap(horizontal(window), horizontal(screen)) *
                              overlap(vertical(window), vertical(screen));
    if (area > bestArea) {
      bestArea = area;
      best = &screen;
    }
  }
  if (bestArea > 0) return *best;
  const std::int64_t centreX = window.x + std::int64_t{window.width} / 2;
  const std::int64_t centreY = window.y + std::int64_t{window.height} / 2;
  double bestDistance = std::numeric_limits<double>::infinity();
  for (const ScreenRect& screen : screens) {
    const std::int64_t dx = distance(centreX, horizontal(screen));
    const std::int64_t dy = distance(centreY, vertical(screen));
    // In floating point: the distances of windows placed far off (up to 2^32) square past 2^63.
    const double squared = static_cast<double>(dx) * static_cast<double>(dx) +
                           static_cast<double>(dy) * static_cast<double>(dy);
    if (squared < bestDistance) {
      bestDistance = squared;
      best = &screen;
    }
  }
  return *best;
}

std::int32_t fittedSide(std::int32_t side, std::int32_t screenSide) {
  const std::int32_t available = std::max(screenSide, 0);
  return std::clamp(side, std::min(kMinimumWindowSide, available), available);
}

// Moves a window side of `length` as little as possible to lie inside `screen`.
std::int32_t fittedStart(std::int32_t start, std::int32_t length, Span screen) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(start, screen.start, screen.end() - length));
}

}  // namespace

ScreenRect fitWindowOnScreens(const ScreenRect& window, std::span<const ScreenRect> screens) {
  if (screens.empty()) return window;
  const bool systemPlaced =
      window.x == kDefaultWindowPosition || window.y == kDefaultWindowPosition;
  const ScreenRect& screen = systemPlaced ? screens.front() : targetScreen(window, screens);
  ScreenRect fitted;
  fitted.width = fittedSide(window.width, screen.width);
  fitted.height = fittedSide(window.height, screen.height);
  if (systemPlaced) {
    fitted.x = fitted.y = kDefaultWindowPosition;
  } else {
    fitted.x = fittedStart(window.x, fitted.width, horizontal(screen));
    fitted.y = fittedStart(window.y, fitted.height, vertical(screen));
  }
  return fitted;
}

}  // namespace orvane
