#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// The colour of a layer as the property pages show and store it. Colours are 0xAARRGGBB.
// Red, green and blue keep six significant bits; the alpha byte is one of eight opacity levels.

inline constexpr int kOpacityLevels = 8;

// A channel reduced to its top six bits and widened again by repeating its top two bits:
// c becomes (c & 0xFC) | (c >> 6), so 128 becomes 130 and 255 stays 255.
std::uint8_t quantiseChannel(std::uint8_t channel);
// The colour with red, green and blue quantised; the alpha byte is kept.
std::uint32_t quantiseColour(std::uint32_t color);

// The opacity level (0 ... 7) of a colour: the top three bits of its alpha byte.
int opacityLevel(std::uint32_t color);
// The alpha byte of an opacity level: 32 * level + 31, so level 0 is 31 and never transparent.
// Levels outside 0 ... 7 are held to that range.
std::uint8_t alphaOfLevel(int level);
// The colour with its alpha byte set to the level's; red, green and blue are kept.
std::uint32_t withOpacityLevel(std::uint32_t color, int level);

// The colour text "R,G,B,A" read the way the colour field reads it: digits build a number; a
// comma shifts the number, held to 255, into a 32-bit accumulator (acc * 256 + number) and
// starts the next one; any other character ends the reading, after which the last number is
// shifted in the same way. The accumulator's bytes from the highest are red, green, blue and A,
// so a text with fewer than four numbers fills from blue and A backwards ("2" is A = 2).
std::uint32_t parseColourText(std::string_view text);
// The colour a layer stores for a colour text: the parsed red, green and blue quantised and the
// alpha byte of opacity level min(A, 7).
std::uint32_t colourFromText(std::string_view text);
// The text the colour field shows: "R,G,B,L" with L the opacity level.
std::string colourText(std::uint32_t color);
// The colour stored when red, green and blue are chosen in the colour chooser: the chosen
// channels quantised, and the alpha byte brought to its opacity level's value.
std::uint32_t withChosenColour(std::uint32_t color, std::uint8_t red, std::uint8_t green,
                               std::uint8_t blue);

}  // namespace orvane
