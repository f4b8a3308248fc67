#include "render/image_export.h"

#include <algorithm>
#include <atomic>
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

// The atlas as a texture, kept for the next export of the same atlas (compared texel by
// texel). The cache's copy of the texels is the one the texture reads, and each texture handed
// out keeps the cache entry alive. Its cells' sheets are made on first use, safely from any
// thread. The lock is held only to take or replace the cached entry; the comparison runs
// outside it, so export workers on several threads do not wait for each other.
struct CachedAtlas {
  std::vector<std::uint16_t> texels;
  TexturePtr texture;
};
std::mutex cacheMutex;
std::shared_ptr<const CachedAtlas> cache;

std::shared_ptr<const CachedAtlas> currentCache() {
  std::lock_guard lock(cacheMutex);
  return cache;
}

bool holds(const std::shared_ptr<const CachedAtlas>& entry, std::span<const std::uint16_t> atlas) {
  return entry && entry->texels.size() == atlas.size() &&
         std::memcmp(entry->texels.data(), atlas.data(), atlas.size_bytes()) == 0;
}

TexturePtr cachedAtlasTexture(std::span<const std::uint16_t> atlas) {
  if (auto current = currentCache(); holds(current, atlas)) {
    return TexturePtr(current, current->texture.get());
  }
  auto fresh = std::make_shared<CachedAtlas>();
  fresh->texels.assign(atlas.begin(), atlas.end());
  fresh->texture = makeTextureOverPixels(int(kAtlasWidth), int(kAtlasHeight), fresh->texels.data());
  if (!fresh->texture) return nullptr;
  std::lock_guard lock(cacheMutex);
  cache = fresh;
  return TexturePtr(std::shared_ptr<const CachedAtlas>(fresh), fresh->texture.get());
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
  // The first export of a process reads the caller's atlas where it is, so that a process that
  // exports once keeps no copy; later ones share the cached texture and the cells it has made.
  static std::atomic<bool> exportedBefore{false};
  const TexturePtr texture =
      exportedBefore.exchange(true)
          ? exportAtlasTexture(atlas)
          : makeTextureOverPixels(int(kAtlasWidth), int(kAtlasHeight), atlas.data());
  return renderExportPicture(renderer, document, texture, settings, error);
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

namespace {

// Draws with a renderer of its own and saves its picture; the atlas in either form that
// renderExportPicture takes.
template <typename Atlas>
bool drawAndSave(const EmblemDocument& document, const Atlas& atlas,
                 const std::filesystem::path& path, ImageFormat format,
                 const ExportSettings& settings, std::string* error) {
  if (path.empty()) return fail(error, "no file name");
  Renderer renderer;
  if (!renderExportPicture(renderer, document, atlas, settings, error)) return false;
  const bool saved = renderer.saveBackBuffer(path, format, error);
  renderer.release();
  return saved;
}

}  // namespace

bool exportImage(const EmblemDocument& document, std::span<const std::uint16_t> atlas,
                 const std::filesystem::path& path, ImageFormat format,
                 const ExportSettings& settings, std::string* error) {
  return drawAndSave(document, atlas, path, format, settings, error);
}

bool exportImage(const EmblemDocument& document, const TexturePtr& atlas,
                 const std::filesystem::path& path, ImageFormat format,
                 const ExportSettings& settings, std::string* error) {
  return drawAndSave(document, atlas, path, format, settings, error);
}

}  // namespace orvane
