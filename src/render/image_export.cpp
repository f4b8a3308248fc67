#include "render/image_export.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "base/failure.h"
#include "formats/parts_atlas.h"
#include "render/blurred_scene.h"
#include "render/emblem_drawing.h"

namespace orvane {
namespace {

// The backdrop and the background of the export, tiles every `step` units when checkered.
void drawBackground(Renderer& renderer, const EmblemInfo& info, const ExportSettings& settings,
                    float step) {
  if (!settings.checkerBackground) {
    renderer.beginFrame(settings.backgroundColour & 0x00FFFFFFu);
    return;
  }
  renderer.beginFrame(kBackdropColour);
  drawCheckerTiles(renderer, settings.scale, step, info.width, info.height);
}

// The atlas as a texture with every mip level made, kept for the next export of the same atlas
// (compared texel by texel), since converting it costs more than drawing a picture. The levels
// are all made before the texture is shared, so renderers on several threads only read it. The
// lock is held only to take or replace the cached pair; the comparison runs outside it, so
// export workers on several threads do not wait for each other.
TexturePtr cachedAtlasTexture(std::span<const std::uint16_t> atlas) {
  struct CachedAtlas {
    std::vector<std::uint16_t> texels;
    TexturePtr texture;
  };
  static std::mutex mutex;
  static std::shared_ptr<const CachedAtlas> cache;
  std::shared_ptr<const CachedAtlas> current;
  {
    std::lock_guard lock(mutex);
    current = cache;
  }
  if (current && current->texels.size() == atlas.size() &&
      std::memcmp(current->texels.data(), atlas.data(), atlas.size_bytes()) == 0) {
    return current->texture;
  }
  TexturePtr texture = makeTextureFromPixels(int(kAtlasWidth), int(kAtlasHeight), atlas.data(),
                                             PixelFormat::A4R4G4B4, 16);
  if (!texture) return nullptr;
  texture->level(texture->levelCount() - 1);
  auto fresh = std::make_shared<CachedAtlas>();
  fresh->texels.assign(atlas.begin(), atlas.end());
  fresh->texture = texture;
  std::lock_guard lock(mutex);
  cache = std::move(fresh);
  return texture;
}

}  // namespace

bool exportPictureSize(const EmblemDocument& document, float scale, int& width, int& height) {
  const EmblemNode* root = document.root();
  if (!root || root->kind() != NodeKind::Info) return false;
  if (!std::isfinite(scale) || !(scale > 0.0f)) return false;
  const float w = static_cast<float>(root->info().width) * scale;
  const float h = static_cast<float>(root->info().height) * scale;
  if (!(w >= 1.0f && w < kMaxPictureSide + 1.0f && h >= 1.0f && h < kMaxPictureSide + 1.0f)) {
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

std::uint64_t exportMemoryBytes(int width, int height, const ExportSettings& settings) {
  // Four bytes a pixel drawn, up to three for the file (a BMP's exactly three).
  const std::uint64_t pixels =
      std::uint64_t(std::max(width, 0)) * std::uint64_t(std::max(height, 0));
  std::uint64_t bytes = pixels * 7 + (std::uint64_t{8} << 20);
  if (settings.blur && std::isfinite(settings.scale) && settings.scale > 0) {
    // Two render textures of n x n texels and the blur's rows as floats: 24 bytes a texel.
    const auto n = std::uint64_t(std::min(256.0f * settings.scale, float(kMaxBlurSide)));
    bytes += n * n * 24;
  }
  return bytes;
}

TexturePtr exportAtlasTexture(std::span<const std::uint16_t> atlas) {
  if (atlas.size() != kAtlasPixelCount) return nullptr;
  return cachedAtlasTexture(atlas);
}

bool renderExportPicture(Renderer& renderer, const EmblemDocument& document,
                         std::span<const std::uint16_t> atlas, const ExportSettings& settings,
                         std::string* error) {
  if (atlas.size() != kAtlasPixelCount) {
    renderer.release();
    return fail(error, "parts atlas missing");
  }
  return renderExportPicture(renderer, document, exportAtlasTexture(atlas), settings, error);
}

bool renderExportPicture(Renderer& renderer, const EmblemDocument& document,
                         const TexturePtr& atlas, const ExportSettings& settings,
                         std::string* error) {
  // Everything is checked before the renderer is made again; a refusal leaves it released.
  auto refuse = [&](const char* reason) {
    renderer.release();
    return fail(error, reason);
  };
  if (!atlas || atlas->width() != int(kAtlasWidth) || atlas->height() != int(kAtlasHeight)) {
    return refuse("parts atlas missing");
  }
  const EmblemNode* root = document.root();
  if (!root || root->kind() != NodeKind::Info) return refuse("no emblem to export");
  if (!std::isfinite(settings.scale) || !(settings.scale > 0.0f)) {
    return refuse("scale must be a number above 0");
  }
  int width = 0, height = 0;
  if (!exportPictureSize(document, settings.scale, width, height)) {
    return refuse("picture size would be 0 or above 16384 pixels");
  }
  if (std::int64_t(width) * height > kMaxExportPixels) {
    return refuse("picture would be above 256 megapixels");
  }
  const float g = 256.0f * settings.scale;
  if (settings.blur && !(g < float(kMaxBlurSide) + 1.0f)) {
    return refuse("blur is limited to scale 32");
  }
  if (!renderer.create(width, height, false)) return refuse("cannot make the picture");
  renderer.useAnisotropicFiltering();
  renderer.setTexture(atlas);
  const EmblemInfo info = root->info();
  bool drawn = false;
  if (settings.blur && renderer.hasBlur()) {
    drawn = drawBlurredScene(renderer, g, 128.0f * settings.scale, [&] {
      drawBackground(renderer, info, settings, 24.0f);
      drawEmblem(renderer, document, settings.scale, settings.colourConversion);
    });
  }
  if (!drawn) {
    drawBackground(renderer, info, settings, static_cast<float>(info.width) / 192.0f * 24.0f);
    drawEmblem(renderer, document, settings.scale, settings.colourConversion);
  }
  renderer.setTexture(nullptr);
  return true;
}

bool exportImage(const EmblemDocument& document, std::span<const std::uint16_t> atlas,
                 const std::filesystem::path& path, ImageFormat format,
                 const ExportSettings& settings, std::string* error) {
  if (path.empty()) return fail(error, "no file name");
  Renderer renderer;
  if (!renderExportPicture(renderer, document, atlas, settings, error)) return false;
  const bool saved = renderer.saveBackBuffer(path, format, error);
  renderer.release();
  return saved;
}

}  // namespace orvane
