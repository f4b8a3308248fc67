#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "atlasgen/atlas_canvas.h"
#include "atlasgen/atlas_glyphs.h"
#include "render/picture_file.h"

// The atlas generator: draws every named part into its cell, then packs and enciphers the atlas
// into the resource the program embeds. Everything is deterministic: the same fonts give the
// same bytes on every run.
namespace orvane::art {

// The three faces of the character parts.
struct AtlasFonts {
  GlyphFont sans;   // bold sans: letters, digits and symbols
  GlyphFont serif;  // second face of A ... F
  GlyphFont label;  // ids on the contact sheet
  // Reads the DejaVu faces from `directory`; false with the missing file named in `error`.
  bool load(const std::string& directory, std::string* error = nullptr);
};

// Where Debian installs the DejaVu fonts.
#ifdef ORVANE_DEJAVU_DIR
inline constexpr const char* kDejaVuDirectory = ORVANE_DEJAVU_DIR;
#else
inline constexpr const char* kDejaVuDirectory = "/usr/share/fonts/truetype/dejavu";
#endif

// One drawing per named entry of each category, `number` counted from 1 within the category.
void drawCharacter(int number, const AtlasFonts& fonts, Mask& mask);
void drawBasicShape(int number, Mask& mask);
void drawLine(int number, Mask& mask);
void drawInk(int number, Mask& mask);
void drawGradation(int number, Mask& mask);
void drawFractal(int number, Mask& mask);
void drawMark(int number, Mask& mask);
// Marks are split over two files; the second draws numbers 30 and up.
void drawMarkSecondHalf(int number, Mask& mask);
// Pictures are full colour; their red channel doubles as the mask of another part.
void drawPicture(int number, ColourCell& cell);

// The whole 1024 x 2048 A4R4G4B4 atlas (rows top to bottom).
std::vector<std::uint16_t> drawPartsAtlas(const AtlasFonts& fonts);
// The enciphered, packed resource of an atlas; empty if the atlas cannot be packed.
std::vector<std::uint8_t> makePartsAtlasResource(const std::vector<std::uint16_t>& atlas);
// A contact sheet showing every named part of the id range with its id on a dark and on a light
// ground.
Picture drawContactSheet(const std::vector<std::uint16_t>& atlas, const AtlasFonts& fonts,
                         std::uint32_t firstId = 0, std::uint32_t lastId = 1023);
// The contact sheet saved as a PNG file through the program's picture writer (atomically);
// false with the reason when it cannot be written.
bool writeContactSheet(const std::vector<std::uint16_t>& atlas, const AtlasFonts& fonts,
                       const std::filesystem::path& path, std::uint32_t firstId = 0,
                       std::uint32_t lastId = 1023, std::string* error = nullptr);

}  // namespace orvane::art
