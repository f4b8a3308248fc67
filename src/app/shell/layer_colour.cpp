#include "app/shell/layer_colour.h"

#include <algorithm>

#include "base/numbers.h"

namespace orvane {
namespace {

constexpr std::uint32_t kChannelLimit = 255;

std::uint8_t channelOf(std::uint32_t color, int shift) {
  return static_cast<std::uint8_t>((color >> shift) & 0xFF);
}

std::uint32_t rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
}

}  // namespace

std::uint8_t quantiseChannel(std::uint8_t channel) {
  return static_cast<std::uint8_t>((channel & 0xFC) | (channel >> 6));
}

std::uint32_t quantiseColour(std::uint32_t color) {
  return (color & 0xFF000000u) |
         rgb(quantiseChannel(channelOf(color, 16)), quantiseChannel(channelOf(color, 8)),
             quantiseChannel(channelOf(color, 0)));
}

int opacityLevel(std::uint32_t color) { return static_cast<int>(color >> 29); }

std::uint8_t alphaOfLevel(int level) {
  return static_cast<std::uint8_t>(std::clamp(level, 0, kOpacityLevels - 1) * 32 + 31);
}

std::uint32_t withOpacityLevel(std::uint32_t color, int level) {
  return (std::uint32_t{alphaOfLevel(level)} << 24) | (color & 0x00FFFFFFu);
}

std::uint32_t parseColourText(std::string_view text) {
  std::uint32_t accumulator = 0;
  std::uint32_t number = 0;
  auto push = [&] {
    accumulator = accumulator * 256 + std::min(number, kChannelLimit);  // wraps: the last four
    number = 0;
  };
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      // Held just above the limit so that any run of digits stays in range.
      number = std::min(number * 10 + static_cast<std::uint32_t>(c - '0'), kChannelLimit + 1);
    } else if (c == ',') {
      push();
    } else {
      break;
    }
  }
  push();
  return accumulator;
}

std::uint32_t colourFromText(std::string_view text) {
  const std::uint32_t parsed = parseColourText(text);
  const int level = static_cast<int>(std::min<std::uint32_t>(parsed & 0xFF, kOpacityLevels - 1));
  return quantiseColour(withOpacityLevel(parsed >> 8, level));
}

std::string colourText(std::uint32_t color) {
  return formatInt(channelOf(color, 16)) + ',' + formatInt(channelOf(color, 8)) + ',' +
         formatInt(channelOf(color, 0)) + ',' + formatInt(opacityLevel(color));
}

std::uint32_t withChosenColour(std::uint32_t color, std::uint8_t red, std::uint8_t green,
                               std::uint8_t blue) {
  return quantiseColour(withOpacityLevel(rgb(red, green, blue), opacityLevel(color)));
}

}  // namespace orvane
