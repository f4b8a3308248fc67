#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "document/emblem_document.h"
#include "render/picture_file.h"
#include "render/renderer.h"

namespace orvane {

// How an emblem is drawn into a picture, for every kind of export: Save As, the command line
// and the batch conversion (which starts from scale 1 with blur on). The defaults are Save As's.
struct ExportSettings {
  float scale = 4.0f;                  // pixels per emblem unit
  bool checkerBackground = true;       // grey tiles; off: a plain background colour
  std::uint32_t backgroundColour = 0;  // 0x00RRGGBB, used when the checker is off
  bool colourConversion = true;
  bool blur = false;
};

// Exports of more pixels than this are refused (16384 x 16384 is already above it): a picture
// takes four bytes a pixel while it is drawn and about as much again while it is encoded.
inline constexpr std::int64_t kMaxExportPixels = 256'000'000;

// About how much memory an export of width x height pixels takes at its peak: the picture being
// drawn, its encoded file and, with blur, the blur's textures. For callers that run several
// exports at once and must not run out of memory.
std::uint64_t exportMemoryBytes(int width, int height, const ExportSettings& settings);

// The picture size of an export: trunc(width * scale) x trunc(height * scale).
bool exportPictureSize(const EmblemDocument& document, float scale, int& width, int& height);

// Draws the export picture into `renderer` (created here at the picture size) and leaves it in
// the back buffer. Refused (false with a reason, nothing made) when the atlas is not 1024 x 2048
// texels, the root is missing or not an info node, the scale is not a finite number above 0, a
// side of the picture would be 0 or above 16384, the picture would hold more than
// kMaxExportPixels, or a blurred export would need a blur square above 8192 texels (scale above
// 32). A blur square under one texel (scale below 1/256) is
// drawn unblurred.
bool renderExportPicture(Renderer& renderer, const EmblemDocument& document,
                         std::span<const std::uint16_t> atlas, const ExportSettings& settings,
                         std::string* error = nullptr);

// The atlas (1024 x 2048 A4R4G4B4 texels) as the texture exports draw with; none for an atlas of
// another size. Exports of the same atlas share one texture (and one copy of the texels),
// which renderers on any thread may read. The span form of renderExportPicture uses it from
// the second export of a process on; the first reads the caller's texels without a copy.
TexturePtr exportAtlasTexture(std::span<const std::uint16_t> atlas);

// The same with the texture of exportAtlasTexture, for callers that export many pictures with
// one atlas and so need not have it compared again each time.
bool renderExportPicture(Renderer& renderer, const EmblemDocument& document,
                         const TexturePtr& atlas, const ExportSettings& settings,
                         std::string* error = nullptr);

// Renders the emblem offscreen and writes it as a picture file; true when the file was written.
// Everything it makes is released before it returns. The atlas is 1024 x 2048 A4R4G4B4 texels,
// or a texture of them (atlas_texture.h).
bool exportImage(const EmblemDocument& document, std::span<const std::uint16_t> atlas,
                 const std::filesystem::path& path, ImageFormat format,
                 const ExportSettings& settings, std::string* error = nullptr);
bool exportImage(const EmblemDocument& document, const TexturePtr& atlas,
                 const std::filesystem::path& path, ImageFormat format,
                 const ExportSettings& settings, std::string* error = nullptr);

}  // namespace orvane
