#include "formats/parts_atlas.h"

#include <bit>
#include <cstring>
#include <new>

#include "formats/atlas_cipher.h"
#include "formats/blowfish.h"

namespace orvane {

std::span<const std::uint16_t> PartsAtlasBuffer::pixels() const {
  if (!pixels_) return {};
  return {pixels_.get(), kAtlasPixelCount};
}

std::span<const std::uint8_t> PartsAtlasBuffer::bytes() const {
  if (!pixels_) return {};
  return {reinterpret_cast<const std::uint8_t*>(pixels_.get()), kPartsAtlasBufferBytes};
}

bool loadPartsAtlas(std::span<const std::uint8_t> resource, PartsAtlasBuffer& atlas) {
  atlas.reset();
  if (resource.size() < kPartsAtlasResourceBytes) return false;

  // The resource is read-only, so it is deciphered in a copy of its whole size; the keystream
  // depends on the distance to the end, so a longer resource must not be cut first.
  const std::size_t wordCount = (resource.size() + 1) / 2;
  std::unique_ptr<std::uint16_t[]> words(new (std::nothrow) std::uint16_t[wordCount]);
  if (!words) return false;
  auto* bytes = reinterpret_cast<std::uint8_t*>(words.get());
  std::memcpy(bytes, resource.data(), resource.size());
  static const BlowfishContext context = keySchedule(kAtlasKey);
  atlasDecipher(context, bytes, resource.size());
  if constexpr (std::endian::native == std::endian::big) {
    for (std::size_t i = 0; i < kAtlasWordCount; ++i) {
      words[i] = static_cast<std::uint16_t>((words[i] >> 8) | (words[i] << 8));
    }
  }

  std::unique_ptr<std::uint16_t[]> pixels(new (std::nothrow) std::uint16_t[kAtlasPixelCount]);
  if (!pixels) return false;
  unpackAtlas(words.get(), pixels.get());
  atlas.pixels_ = std::move(pixels);
  return true;
}

}  // namespace orvane
