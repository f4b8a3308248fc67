#include "render/texture.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "render/pixel_blend.h"
#include "render/render_bands.h"

namespace orvane {
namespace {

std::vector<std::uint32_t> halve(const std::uint32_t* src, int width, int height) {
  const int w = std::max(1, width / 2);
  const int h = std::max(1, height / 2);
  std::vector<std::uint32_t> out(std::size_t(w) * h);
  for (int y = 0; y < h; ++y) {
    const int y0 = std::min(2 * y, height - 1);
    const int y1 = std::min(2 * y + 1, height - 1);
    for (int x = 0; x < w; ++x) {
      const int x0 = std::min(2 * x, width - 1);
      const int x1 = std::min(2 * x + 1, width - 1);
      out[std::size_t(y) * w + x] =
          mean4(src[std::size_t(y0) * width + x0], src[std::size_t(y0) * width + x1],
                src[std::size_t(y1) * width + x0], src[std::size_t(y1) * width + x1]);
    }
  }
  return out;
}

std::uint64_t rectKey(const TexelRect& r) {
  return std::uint64_t(std::uint16_t(r.x0)) | std::uint64_t(std::uint16_t(r.y0)) << 16 |
         std::uint64_t(std::uint16_t(r.x1)) << 32 | std::uint64_t(std::uint16_t(r.y1)) << 48;
}

}  // namespace

// The levels of one rectangle made so far; a level once made stays where it is.
struct Texture::RectSheets {
  std::array<std::unique_ptr<OwnedTexelSheet>, 16> levels;
};

Texture::Texture(int width, int height, bool renderTarget, bool cleared)
    : width_(width),
      height_(height),
      renderTarget_(renderTarget),
      texels_(new std::uint32_t[std::size_t(width) * std::size_t(height)]) {
  unpacked_ = true;
  if (renderTarget && cleared) fill(0);
}

Texture::Texture(int width, int height, const std::uint16_t* texels, bool borrow)
    : width_(width), height_(height), renderTarget_(false), packed_(texels) {
  if (!borrow) {
    const std::size_t count = std::size_t(width) * std::size_t(height);
    packedCopy_.reset(new std::uint16_t[count]);
    std::memcpy(packedCopy_.get(), texels, count * 2);
    packed_ = packedCopy_.get();
  }
}

Texture::~Texture() = default;

Texture::Texture(int width, int height, RowReader readRow)
    : width_(width), height_(height), renderTarget_(false), rowReader_(std::move(readRow)) {}

void Texture::settlePending() const { pending_->flush(); }

std::uint32_t* Texture::unpacked() const {
  if (!unpacked_.load(std::memory_order_acquire)) {
    std::call_once(unpackOnce_, [this] {
      texels_.reset(new std::uint32_t[std::size_t(width_) * std::size_t(height_)]);
      for (int y = 0; y < height_; ++y)
        readRow(0, y, width_, texels_.get() + std::size_t(y) * width_);
      unpacked_.store(true, std::memory_order_release);
    });
  }
  return texels_.get();
}

void Texture::readRow(int x0, int y, int count, std::uint32_t* out) const {
  if (unpacked_.load(std::memory_order_acquire)) {
    std::copy_n(texels_.get() + std::size_t(y) * width_ + x0, count, out);
    return;
  }
  if (!packed_) {
    rowReader_(x0, y, count, out);
    return;
  }
  const std::uint16_t* in = packed_ + std::size_t(y) * width_ + x0;
  for (int i = 0; i < count; ++i) out[i] = expandA4R4G4B4(in[i]);
}

void Texture::fill(std::uint32_t argb) {
  std::fill_n(pixels(), std::size_t(width_) * height_, argb);
  invalidateMips();
}

void Texture::invalidateMips() {
  if (!anyDerived_.load(std::memory_order_relaxed)) return;
  std::lock_guard lock(derivedMutex_);
  mips_.clear();
  sheets_.clear();
  anyDerived_ = false;
}

int Texture::levelCount() const {
  int levels = 1;
  for (int side = std::max(width_, height_); side > 1; side /= 2) ++levels;
  return levels;
}

TextureLevel Texture::level(int k) const {
  k = std::clamp(k, 0, levelCount() - 1);
  const std::uint32_t* src = pixels();
  if (k == 0) return {width_, height_, src};
  std::lock_guard lock(derivedMutex_);
  anyDerived_ = true;
  int w = width_, h = height_;
  for (int i = 1; i <= k; ++i) {
    if (mips_.size() < std::size_t(i)) mips_.push_back(halve(src, w, h));
    w = std::max(1, w / 2);
    h = std::max(1, h / 2);
    src = mips_[i - 1].data();
  }
  return {w, h, src};
}

const TexelSheet& Texture::sheet(const TexelRect& rect, int level) const {
  settle();
  std::lock_guard lock(derivedMutex_);
  anyDerived_ = true;
  std::unique_ptr<RectSheets>& sheets = sheets_[rectKey(rect)];
  if (!sheets) sheets = std::make_unique<RectSheets>();
  level = std::clamp(level, 0, int(sheets->levels.size()) - 1);
  if (!sheets->levels[0]) {
    sheets->levels[0] = std::make_unique<OwnedTexelSheet>(
        rect.x1 - rect.x0, rect.y1 - rect.y0,
        [&](int y, std::uint32_t* out) { readRow(rect.x0, rect.y0 + y, rect.x1 - rect.x0, out); });
  }
  for (int l = 1; l <= level; ++l) {
    if (!sheets->levels[l]) {
      sheets->levels[l] = std::make_unique<OwnedTexelSheet>(sheets->levels[l - 1]->sheet());
    }
  }
  return sheets->levels[level]->sheet();
}

TexturePtr makeTextureFromPixels(int width, int height, const void* pixels, PixelFormat format,
                                 int bitsPerPixel) {
  if (width < 1 || height < 1 || width > kMaxTextureSide || height > kMaxTextureSide || !pixels)
    return nullptr;
  const int expectedBits = format == PixelFormat::A4R4G4B4 ? 16 : 32;
  if (bitsPerPixel != expectedBits) return nullptr;
  if (format == PixelFormat::A4R4G4B4) {
    return std::make_shared<Texture>(width, height, static_cast<const std::uint16_t*>(pixels),
                                     false);
  }
  auto texture = std::make_shared<Texture>(width, height, false);
  std::memcpy(texture->pixels(), pixels, std::size_t(width) * height * 4);
  return texture;
}

TexturePtr makeTextureFromRows(int width, int height, Texture::RowReader readRow) {
  if (width < 1 || height < 1 || width > kMaxTextureSide || height > kMaxTextureSide || !readRow)
    return nullptr;
  return std::make_shared<Texture>(width, height, std::move(readRow));
}

TexturePtr makeTextureOverPixels(int width, int height, const std::uint16_t* texels) {
  if (width < 1 || height < 1 || width > kMaxTextureSide || height > kMaxTextureSide || !texels)
    return nullptr;
  return std::make_shared<Texture>(width, height, texels, true);
}

}  // namespace orvane
