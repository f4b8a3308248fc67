#include "render/texture.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "render/render_bands.h"

namespace orvane {
namespace {

// The rounded mean of four texels, channel by channel.
std::uint32_t average4(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t sum = ((a >> shift) & 0xFF) + ((b >> shift) & 0xFF) +
                              ((c >> shift) & 0xFF) + ((d >> shift) & 0xFF);
    out |= ((sum + 2) >> 2) << shift;
  }
  return out;
}

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
          average4(src[std::size_t(y0) * width + x0], src[std::size_t(y0) * width + x1],
                   src[std::size_t(y1) * width + x0], src[std::size_t(y1) * width + x1]);
    }
  }
  return out;
}

// All 65536 expansions, so that the 2-million-texel atlas converts with one lookup per texel.
const std::array<std::uint32_t, 65536>& a4r4g4b4Table() {
  static const auto table = [] {
    std::array<std::uint32_t, 65536> t{};
    for (std::uint32_t i = 0; i < t.size(); ++i) t[i] = expandA4R4G4B4(std::uint16_t(i));
    return t;
  }();
  return table;
}

}  // namespace

Texture::Texture(int width, int height, bool renderTarget)
    : width_(width),
      height_(height),
      renderTarget_(renderTarget),
      texels_(new std::uint32_t[std::size_t(width) * std::size_t(height)]) {
  if (renderTarget) fill(0);
}

void Texture::settlePending() const { pending_->flush(); }

void Texture::fill(std::uint32_t argb) {
  settle();
  std::fill_n(texels_.get(), std::size_t(width_) * height_, argb);
  invalidateMips();
}

int Texture::levelCount() const {
  int levels = 1;
  for (int side = std::max(width_, height_); side > 1; side /= 2) ++levels;
  return levels;
}

TextureLevel Texture::level(int k) const {
  k = std::clamp(k, 0, levelCount() - 1);
  settle();
  if (k == 0) return {width_, height_, texels_.get()};
  int w = width_, h = height_;
  const std::uint32_t* src = texels_.get();
  for (int i = 1; i <= k; ++i) {
    if (mips_.size() < std::size_t(i)) mips_.push_back(halve(src, w, h));
    w = std::max(1, w / 2);
    h = std::max(1, h / 2);
    src = mips_[i - 1].data();
  }
  return {w, h, src};
}

TexturePtr makeTextureFromPixels(int width, int height, const void* pixels, PixelFormat format,
                                 int bitsPerPixel) {
  if (width < 1 || height < 1 || width > kMaxTextureSide || height > kMaxTextureSide || !pixels)
    return nullptr;
  const int expectedBits = format == PixelFormat::A4R4G4B4 ? 16 : 32;
  if (bitsPerPixel != expectedBits) return nullptr;
  auto texture = std::make_shared<Texture>(width, height, false);
  const std::size_t count = std::size_t(width) * height;
  std::uint32_t* out = texture->pixels();
  if (format == PixelFormat::A8R8G8B8) {
    std::memcpy(out, pixels, count * 4);
  } else {
    const auto& table = a4r4g4b4Table();
    const auto* in = static_cast<const unsigned char*>(pixels);
    for (std::size_t i = 0; i < count; ++i) out[i] = table[in[2 * i] | (in[2 * i + 1] << 8)];
  }
  return texture;
}

}  // namespace orvane
