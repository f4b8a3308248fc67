#include <string>

#include "atlasgen/atlas_art.h"
#include "catalogue/part_catalogue.h"
#include "formats/atlas_planes.h"

namespace orvane::art {

namespace {

// Each part gets a tile: its cell on a dark ground, the same cell on a light ground, and its id
// below. Masks are tinted white on the dark ground and ink blue on the light one, as a layer's
// colour would tint them; pictures keep their own colours.
constexpr int kTileWidth = 2 * kCell + 12;
constexpr int kTileHeight = kCell + 18;
constexpr int kColumns = 12;
constexpr std::uint8_t kDark[3] = {0x26, 0x28, 0x2C};
constexpr std::uint8_t kLight[3] = {0xE4, 0xE2, 0xDC};
constexpr std::uint8_t kInk[3] = {0x1C, 0x2E, 0x6A};
constexpr std::uint8_t kPaper[3] = {0x80, 0x80, 0x80};

void blend(std::uint8_t* rgb, const std::uint8_t* ground, std::uint16_t texel,
           const std::uint8_t* tint) {
  const float a = static_cast<float>(texel >> 12) / 15;
  for (int c = 0; c < 3; ++c) {
    const float channel = static_cast<float>((texel >> (8 - 4 * c)) & 0xF) / 15 * tint[c];
    rgb[c] = static_cast<std::uint8_t>(std::lround(ground[c] * (1 - a) + channel * a));
  }
}

}  // namespace

Picture drawContactSheet(const std::vector<std::uint16_t>& atlas, const AtlasFonts& fonts,
                         std::uint32_t firstId, std::uint32_t lastId) {
  std::vector<std::uint32_t> ids;
  for (std::uint32_t id = firstId; id <= lastId && id < kPartCount; ++id) {
    if (isNamedPart(id)) ids.push_back(id);
  }
  const int rows = (static_cast<int>(ids.size()) + kColumns - 1) / kColumns;
  const int width = kColumns * kTileWidth, height = std::max(rows, 1) * kTileHeight;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width * height) * 3);
  for (std::size_t i = 0; i < rgb.size(); i += 3) std::copy(kPaper, kPaper + 3, &rgb[i]);
  std::vector<unsigned char> text(static_cast<std::size_t>(width * height), 0);
  constexpr std::uint8_t kWhite[3] = {255, 255, 255};

  for (std::size_t k = 0; k < ids.size(); ++k) {
    const std::uint32_t id = ids[k];
    const int left = static_cast<int>(k % kColumns) * kTileWidth + 4;
    const int top = static_cast<int>(k / kColumns) * kTileHeight + 2;
    const AtlasCell cell = cellOf(id);
    const int column = static_cast<int>(std::lround(cell.u * kAtlasColumns));
    const int row = static_cast<int>(std::lround(cell.v * kAtlasRows));
    const bool picture = row == kAtlasRows - 1;
    for (int y = 0; y < kCell; ++y) {
      for (int x = 0; x < kCell; ++x) {
        const std::uint16_t texel =
            atlas[(static_cast<std::size_t>(row) * kCell + y) * kAtlasWidth + column * kCell + x];
        blend(&rgb[((top + y) * width + left + x) * 3], kDark, texel, kWhite);
        blend(&rgb[((top + y) * width + left + kCell + 2 + x) * 3], kLight, texel,
              picture ? kWhite : kInk);
      }
    }
    const std::string label = std::to_string(id);
    const float labelWidth = fonts.label.textWidth(label, 13);
    fonts.label.drawText(label, 13, text.data(), width, height,
                         left + kCell + 1 - static_cast<int>(labelWidth / 2), top + kCell + 13);
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == 0) continue;
    const float a = text[i] / 255.0f;
    for (int c = 0; c < 3; ++c) {
      rgb[i * 3 + c] = static_cast<std::uint8_t>(std::lround(rgb[i * 3 + c] * (1 - a) + 255 * a));
    }
  }
  Picture sheet{width, height, std::vector<std::uint8_t>(rgb.size() / 3 * 4, 0xFF)};
  for (std::size_t i = 0; i < rgb.size() / 3; ++i) {
    std::copy_n(&rgb[i * 3], 3, &sheet.rgba[i * 4]);
  }
  return sheet;
}

bool writeContactSheet(const std::vector<std::uint16_t>& atlas, const AtlasFonts& fonts,
                       const std::filesystem::path& path, std::uint32_t firstId,
                       std::uint32_t lastId, std::string* error) {
  return writePictureFile(path, drawContactSheet(atlas, fonts, firstId, lastId), ImageFormat::Png,
                          false, error);
}

}  // namespace orvane::art
