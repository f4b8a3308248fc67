#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "render/texel_sheet.h"

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

// A half-open rectangle of level-0 texels [x0, x1) x [y0, y1).
struct TexelRect {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// Texels of a texture, a render texture or a back buffer, kept as 8-bit 0xAARRGGBB words so
// that every sampler and blender works on one layout. A 4-bit channel n is stored as n * 17,
// which is exactly the fraction n / 15 in eighths of 255.
//
// A texture made from A4R4G4B4 texels keeps them as they are and converts them where they are
// read: the whole texture on the first call of pixels() or level(), and a rectangle when its
// sheet is made. So a picture that uses a few cells of the parts atlas converts those alone. A
// texture made from a row reader asks it for texels at the same moments.
//
// Smaller mip levels are made on first use, each texel the rounded mean of the 2 x 2 texels
// above it (the last row or column of an odd level is repeated). Sheets (texel_sheet.h) of
// rectangles are made on first use too, from any thread. Writing through pixels() after levels
// or sheets were made requires invalidateMips(), on the one thread that uses the texture.
class Texture {
 public:
  // Render targets start cleared to 0 unless `cleared` is false; other textures start undefined
  // (their maker fills them).
  Texture(int width, int height, bool renderTarget, bool cleared = true);
  // A texture of A4R4G4B4 texels, rows packed one after another: a copy of them, or with
  // `borrow` the caller's own, which must then stay unchanged for the texture's whole life.
  Texture(int width, int height, const std::uint16_t* texels, bool borrow);
  // A texture whose texels readRow(x, y, count, out) gives as 0xAARRGGBB words when they are
  // first needed: texels [x, x + count) of row y. It must give the same texels every time, from
  // any thread.
  using RowReader = std::function<void(int, int, int, std::uint32_t*)>;
  Texture(int width, int height, RowReader readRow);
  ~Texture();
  Texture(const Texture&) = delete;
  Texture& operator=(const Texture&) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  bool isRenderTarget() const { return renderTarget_; }

  std::uint32_t* pixels() {
    settle();
    return unpacked();
  }
  const std::uint32_t* pixels() const {
    settle();
    return unpacked();
  }
  std::uint32_t pixel(int x, int y) const { return pixels()[std::size_t(y) * width_ + x]; }
  void fill(std::uint32_t argb);

  // Number of levels down to 1 x 1.
  int levelCount() const;
  // Level k (0 is the texture itself); smaller levels are made here on first use.
  TextureLevel level(int k) const;
  // Level `level` of the rectangle, which lies inside the texture; for level above 0 its
  // corners lie on multiples of 2^level. Made here on first use, then kept until invalidated.
  const TexelSheet& sheet(const TexelRect& rect, int level) const;
  void invalidateMips();
  // The renderer's queue of quads not yet shaded into this texture (none: up to date); every
  // read or write of the texels above shades them first.
  void setPendingWrites(DeferredShading* queue) const { pending_ = queue; }

 private:
  struct RectSheets;

  int width_;
  int height_;
  bool renderTarget_;
  // The 0xAARRGGBB texels; for a texture of A4R4G4B4 texels, made on first use.
  mutable std::unique_ptr<std::uint32_t[]> texels_;
  std::unique_ptr<std::uint16_t[]> packedCopy_;
  const std::uint16_t* packed_ = nullptr;  // the A4R4G4B4 texels, when made from them
  RowReader rowReader_;                    // or where the texels come from
  mutable std::once_flag unpackOnce_;
  mutable std::atomic<bool> unpacked_{false};

  mutable std::mutex derivedMutex_;                       // guards the two below
  mutable std::vector<std::vector<std::uint32_t>> mips_;  // levels 1 ... levelCount() - 1
  mutable std::unordered_map<std::uint64_t, std::unique_ptr<RectSheets>> sheets_;
  mutable std::atomic<bool> anyDerived_{false};
  mutable DeferredShading* pending_ = nullptr;

  std::uint32_t* unpacked() const;
  // Texels [x0, x0 + count) of row y of level 0, converted.
  void readRow(int x0, int y, int count, std::uint32_t* out) const;
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
// A texture of texels made on demand, as Texture(width, height, readRow); none for a side
// outside 1 ... kMaxTextureSide.
TexturePtr makeTextureFromRows(int width, int height, Texture::RowReader readRow);
// A texture that reads A4R4G4B4 `texels` where they are, without a copy: they must stay unchanged
// and alive as long as the texture. None for a side outside 1 ... kMaxTextureSide.
TexturePtr makeTextureOverPixels(int width, int height, const std::uint16_t* texels);

// 0xARGB (4 bits each) to 0xAARRGGBB.
inline std::uint32_t expandA4R4G4B4(std::uint16_t texel) {
  const std::uint32_t t = texel;
  return ((t & 0xF000u) * 0x11000u) | ((t & 0x0F00u) * 0x1100u) | ((t & 0x00F0u) * 0x110u) |
         ((t & 0x000Fu) * 0x11u);
}

}  // namespace orvane
