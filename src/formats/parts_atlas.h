#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "formats/atlas_planes.h"

namespace orvane {

// Size of the enciphered atlas resource and of the pixel buffer it unpacks to.
inline constexpr std::size_t kPartsAtlasResourceBytes = kAtlasWordCount * 2;  // 1,703,936
inline constexpr std::size_t kPartsAtlasBufferBytes = kAtlasPixelCount * 2;   // 4 MiB

// The unpacked parts atlas: 1024 x 2048 A4R4G4B4 pixels, rows top to bottom. The application
// owns the one buffer for its whole life; renderers only read it.
class PartsAtlasBuffer {
 public:
  bool empty() const { return !pixels_; }
  // All pixels in host order, or an empty span when nothing is loaded.
  std::span<const std::uint16_t> pixels() const;
  // The same buffer as bytes (little-endian pixels on the platforms the program runs on).
  std::span<const std::uint8_t> bytes() const;
  std::uint16_t pixel(int x, int y) const { return pixels_[y * kAtlasWidth + x]; }
  void reset() { pixels_.reset(); }

 private:
  friend bool loadPartsAtlas(std::span<const std::uint8_t> resource, PartsAtlasBuffer& atlas);
  std::unique_ptr<std::uint16_t[]> pixels_;
};

// Pixels of the parts atlas read straight from the enciphered resource, deciphering and
// unpacking only the words they come from: what a program that draws a few cells once needs,
// without the 4 MiB of the whole atlas. Reading is safe from any thread.
class PartsAtlasReader {
 public:
  // False (and nothing to read) for a resource shorter than kPartsAtlasResourceBytes. The
  // resource must stay as it is while the reader is used.
  bool open(std::span<const std::uint8_t> resource);
  bool isOpen() const { return !resource_.empty(); }
  // Pixels [x, x + count) of row y, as loadPartsAtlas gives them.
  void readRow(int x, int y, int count, std::uint16_t* out) const;

 private:
  std::span<const std::uint8_t> resource_;
};

// Deciphers a copy of `resource` with the atlas key and unpacks it into `atlas`. A resource
// shorter than 1,703,936 bytes, or memory running out, gives false and leaves `atlas` empty.
bool loadPartsAtlas(std::span<const std::uint8_t> resource, PartsAtlasBuffer& atlas);

}  // namespace orvane
