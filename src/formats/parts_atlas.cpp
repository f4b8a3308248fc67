#include "formats/parts_atlas.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "formats/atlas_cipher.h"
#include "formats/atlas_planes.h"
#include "formats/blowfish.h"
#include "formats/little_endian.h"

namespace orvane {

std::span<const std::uint16_t> PartsAtlasBuffer::pixels() const {
  if (!pixels_) return {};
  return {pixels_.get(), kAtlasPixelCount};
}

std::span<const std::uint8_t> PartsAtlasBuffer::bytes() const {
  if (!pixels_) return {};
  return {reinterpret_cast<const std::uint8_t*>(pixels_.get()), kPartsAtlasBufferBytes};
}

namespace {

const BlowfishContext& atlasContext() {
  static const BlowfishContext context = keySchedule(kAtlasKey);
  return context;
}

}  // namespace

bool PartsAtlasReader::open(std::span<const std::uint8_t> resource) {
  resource_ =
      resource.size() < kPartsAtlasResourceBytes ? std::span<const std::uint8_t>{} : resource;
  return isOpen();
}

void PartsAtlasReader::readRow(int x, int y, int count, std::uint16_t* out) const {
  if (!isOpen() || count <= 0) return;
  const AtlasPixelSource source = atlasPixelSource(std::size_t(y) * kAtlasWidth + std::size_t(x));
  // Whole 4-byte cipher words around the pixels' 2-byte atlas words.
  const std::size_t first = (2 * source.word) & ~std::size_t(3);
  const std::size_t end = (2 * (source.word + std::size_t(count)) + 3) & ~std::size_t(3);
  std::uint8_t bytes[2 * kAtlasWidth + 8];
  atlasDecipherRange(atlasContext(), resource_.data(), resource_.size(), first, end - first, bytes);
  const std::uint8_t* words = bytes + (2 * source.word - first);
  for (int i = 0; i < count; ++i) {
    out[i] = atlasPixelFromWord(loadLe16(words + 2 * std::size_t(i)), source.shift);
  }
}

bool loadPartsAtlas(std::span<const std::uint8_t> resource, PartsAtlasBuffer& atlas) {
  atlas.reset();
  if (resource.size() < kPartsAtlasResourceBytes) return false;
  std::unique_ptr<std::uint16_t[]> pixels(new (std::nothrow) std::uint16_t[kAtlasPixelCount]);
  if (!pixels) return false;
  // A block at a time, deciphered straight from the read-only resource and unpacked at once, so
  // that no copy of the whole resource is made. The keystream depends on the distance to the
  // end of the whole resource, so a longer resource is not cut first.
  const BlowfishContext& context = atlasContext();
  constexpr std::size_t kBlockWords = 8192;
  std::uint16_t words[kBlockWords];
  auto* bytes = reinterpret_cast<std::uint8_t*>(words);
  for (std::size_t first = 0; first < kAtlasWordCount; first += kBlockWords) {
    const std::size_t count = std::min(kBlockWords, kAtlasWordCount - first);
    atlasDecipherRange(context, resource.data(), resource.size(), 2 * first, 2 * count, bytes);
    // The deciphered bytes are little-endian words, already in host order on such a host.
    if constexpr (std::endian::native == std::endian::big) loadLe16Words(bytes, count, words);
    unpackAtlasWords(words, first, count, pixels.get());
  }
  atlas.pixels_ = std::move(pixels);
  return true;
}

}  // namespace orvane
