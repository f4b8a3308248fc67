#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace orvane {

class DeferredShading;

// Pixel layouts a texture can be made from; both are little-endian words in memory.
enum class PixelFormat {
  A4R4G4B4,  // 16 bits: 4 each of alpha, red, green, blue
  A8R8G8B8,  // 32 bits: 0xAARRGGBB
};

// The largest texture, render texture or back-buffer side the renderer makes.
inline constexpr int kMaxTextureSide = 16384;

// One level of a texture: rows top to bottom, no padding, texels as 0xAARRGGBB.
struct TextureLevel {
  int width = 0;
  int height = 0;
  const std::uint32_t* texels = nullptr;
};

// Texels of a texture, a render texture or a back buffer, kept as 8-bit 0xAARRGGBB words so
// that every sampler and blender works on one layout. A 4-bit channel n is stored as n * 17,
// which is exactly the fraction n / 15 in eighths of 255.
//
// Smaller mip levels are made on first use, each texel the rounded mean of the 2 x 2 texels
// above it (the last row or column of an odd level is repeated). Writing through pixels()
// after mips were made requires invalidateMips().
class Texture {
 public:
  // Render targets start cleared to 0; other textures start undefined (their maker fills them).
  Texture(int width, int height, bool renderTarget);
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  bool isRenderTarget() const { return renderTarget_; }

  std::uint32_t* pixels() {
    settle();
    return texels_.get();
  }
  const std::uint32_t* pixels() const {
    settle();
    return texels_.get();
  }
  std::uint32_t pixel(int x, int y) const {
    settle();
    return texels_[std::size_t(y) * width_ + x];
  }
  void fill(std::uint32_t argb);

  // Number of levels down to 1 x 1.
  int levelCount() const;
  // Level k (0 is the texture itself); smaller levels are made here on first use.
  TextureLevel level(int k) const;
  void invalidateMips() { mips_.clear(); }
  // The renderer's queue of quads not yet shaded into this texture (none: up to date); every
  // read or write of the texels above shades them first.
  void setPendingWrites(DeferredShading* queue) const { pending_ = queue; }

 private:
  int width_;
  int height_;
  bool renderTarget_;
  std::unique_ptr<std::uint32_t[]> texels_;
  mutable std::vector<std::vector<std::uint32_t>> mips_;  // levels 1 ... levelCount() - 1
  mutable DeferredShading* pending_ = nullptr;

  void settle() const {
    if (pending_) settlePending();
  }
  void settlePending() const;
};

using TexturePtr = std::shared_ptr<Texture>;

// A texture holding `pixels` (rows packed one after another) converted to 8-bit channels; none
// when a side is outside 1 ... kMaxTextureSide or bitsPerPixel does not match the format.
TexturePtr makeTextureFromPixels(int width, int height, const void* pixels, PixelFormat format,
                                 int bitsPerPixel);

// 0xARGB (4 bits each) to 0xAARRGGBB.
inline std::uint32_t expandA4R4G4B4(std::uint16_t texel) {
  const std::uint32_t t = texel;
  return ((t & 0xF000u) * 0x11000u) | ((t & 0x0F00u) * 0x1100u) | ((t & 0x00F0u) * 0x110u) |
         ((t & 0x000Fu) * 0x11u);
}

}  // namespace orvane
