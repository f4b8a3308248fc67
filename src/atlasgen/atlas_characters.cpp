#include "atlasgen/atlas_art.h"

namespace orvane::art {

namespace {

// Symbols 63 ... 80, in list order.
constexpr char32_t kSymbols[18] = {U'!', U'?',      U'&',      U'#',      U'@', U'%',
                                   U'+', U'\u2212', U'\u00D7', U'\u00F7', U'=', U'~',
                                   U'(', U')',      U'*',      U'$',      U'<', U'>'};

// Letters and digits share one scale so a word spelt with them looks like set type; glyphs that
// would not fit (wide W, descenders) shrink alone.
constexpr float kCapHeight = 46;
constexpr float kMaxInk = 56;

}  // namespace

void drawCharacter(int number, const AtlasFonts& fonts, Mask& mask) {
  char32_t code = 0;
  const GlyphFont* font = &fonts.sans;
  float outline = 0;
  if (number <= 26) {
    code = U'A' + static_cast<char32_t>(number - 1);
  } else if (number <= 52) {
    code = U'a' + static_cast<char32_t>(number - 27);
  } else if (number <= 62) {
    code = U'0' + static_cast<char32_t>(number - 53);
  } else if (number <= 80) {
    code = kSymbols[number - 63];
  } else if (number >= 81 && number <= 86) {
    code = U'A' + static_cast<char32_t>(number - 81);
    font = &fonts.serif;
  } else if (number >= 161 && number <= 166) {
    code = U'A' + static_cast<char32_t>(number - 161);
    outline = 3.5f;
  } else {
    return;
  }
  font->drawCentred(code, font->scaleForCapHeight(kCapHeight), kMaxInk, mask, outline);
}

}  // namespace orvane::art
