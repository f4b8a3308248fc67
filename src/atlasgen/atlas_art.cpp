#include "atlasgen/atlas_art.h"

#include <cmath>

#include "base/failure.h"
#include "catalogue/part_catalogue.h"
#include "formats/atlas_cipher.h"
#include "formats/atlas_planes.h"
#include "formats/blowfish.h"
#include "formats/little_endian.h"

namespace orvane::art {

namespace {

constexpr int kPictureRow = 31;
constexpr std::uint16_t kClearMask = 0x0FFF;  // white, fully transparent

std::size_t cellOrigin(std::uint32_t id) {
  const AtlasCell cell = cellOf(id);
  const auto column = static_cast<std::size_t>(std::lround(cell.u * kAtlasColumns));
  const auto row = static_cast<std::size_t>(std::lround(cell.v * kAtlasRows));
  return row * kCell * kAtlasWidth + column * kCell;
}

std::uint16_t nibble(float v) { return static_cast<std::uint16_t>(std::lround(clamp01(v) * 15)); }

void putMask(std::vector<std::uint16_t>& atlas, std::uint32_t id, const Mask& mask) {
  const std::size_t origin = cellOrigin(id);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      atlas[origin + y * kAtlasWidth + x] =
          static_cast<std::uint16_t>(nibble(mask.at(x, y)) << 12 | 0x0FFF);
    }
  }
}

// Partly transparent texels keep colour scaled by their alpha, so the red channel fades out with
// the edge and stays a clean anti-aliased mask; fully transparent texels are 0.
void putColour(std::vector<std::uint16_t>& atlas, std::uint32_t id, const ColourCell& cell) {
  const std::size_t origin = cellOrigin(id);
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      const Rgba& c = cell.at(x, y);
      const std::uint16_t a = nibble(c.a);
      const float k = a == 15 ? 1.0f : c.a;
      atlas[origin + y * kAtlasWidth + x] =
          a == 0 ? 0
                 : static_cast<std::uint16_t>(a << 12 | nibble(c.r * k) << 8 |
                                              nibble(c.g * k) << 4 | nibble(c.b * k));
    }
  }
}

// Row 18 and the red channel of row 31 are read from the same words, so the masks of Other
// 177 ... 192 are the red channel of the picture cells, copied here.
void copyPictureRedIntoMasks(std::vector<std::uint16_t>& atlas) {
  const std::size_t masks = cellOrigin(firstPartOf(PartCategory::Other) + 176);
  const std::size_t pictures = static_cast<std::size_t>(kPictureRow) * kCell * kAtlasWidth;
  for (std::size_t i = 0; i < static_cast<std::size_t>(kCell) * kAtlasWidth; ++i) {
    atlas[masks + i] =
        static_cast<std::uint16_t>(((atlas[pictures + i] >> 8) & 0xF) << 12 | 0x0FFF);
  }
}

}  // namespace

bool AtlasFonts::load(const std::string& directory, std::string* error) {
  const struct {
    GlyphFont* font;
    const char* file;
  } faces[] = {
      {&sans, "DejaVuSans-Bold.ttf"}, {&serif, "DejaVuSerif-Bold.ttf"}, {&label, "DejaVuSans.ttf"}};
  for (const auto& face : faces) {
    const std::string path = directory + "/" + face.file;
    if (!face.font->load(path)) return fail(error, "cannot read the font " + path);
  }
  return true;
}

std::vector<std::uint16_t> drawPartsAtlas(const AtlasFonts& fonts) {
  std::vector<std::uint16_t> atlas(kAtlasPixelCount, kClearMask);
  std::fill(atlas.begin() + kPictureRow * kCell * kAtlasWidth, atlas.end(), 0);

  for (std::uint32_t id = 0; id < kPartCount; ++id) {
    if (!isNamedPart(id)) continue;
    const int n = partNumber(id);
    Mask mask;
    switch (partCategory(id)) {
      case PartCategory::Characters:
        drawCharacter(n, fonts, mask);
        break;
      case PartCategory::BasicShapes:
        drawBasicShape(n, mask);
        break;
      case PartCategory::Lines:
        drawLine(n, mask);
        break;
      case PartCategory::Ink:
        drawInk(n, mask);
        break;
      case PartCategory::Gradations:
        drawGradation(n, mask);
        break;
      case PartCategory::Fractals:
        drawFractal(n, mask);
        break;
      case PartCategory::Marks:
        if (n < 30) {
          drawMark(n, mask);
        } else {
          drawMarkSecondHalf(n, mask);
        }
        break;
      case PartCategory::Pictures: {
        ColourCell cell;
        drawPicture(n, cell);
        putColour(atlas, id, cell);
        continue;
      }
      case PartCategory::Other:
        continue;  // cells shared with characters, or derived from the pictures below
    }
    putMask(atlas, id, mask);
  }
  copyPictureRedIntoMasks(atlas);
  return atlas;
}

std::vector<std::uint8_t> makePartsAtlasResource(const std::vector<std::uint16_t>& atlas) {
  if (atlas.size() != kAtlasPixelCount) return {};
  std::vector<std::uint16_t> words(kAtlasWordCount);
  if (!packAtlas(atlas.data(), words.data())) return {};
  std::vector<std::uint8_t> resource(kAtlasWordCount * 2);
  storeLe16Words(words.data(), words.size(), resource.data());
  const BlowfishContext context = keySchedule(kAtlasKey);
  atlasEncipher(context, resource.data(), resource.size());
  return resource;
}

}  // namespace orvane::art
