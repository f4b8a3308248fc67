#include "formats/atlas_cipher.h"

#include "formats/little_endian.h"

namespace orvane {
namespace {

// The keystream word for a word with `remaining` bytes from it to the end of the buffer, after
// the stored word `prev`. Only the low ten bits of the index matter, so the count may be cut.
std::uint32_t keystreamWord(const BlowfishContext& context, std::size_t remaining,
                            std::uint32_t prev) {
  const auto quarter = static_cast<std::uint32_t>(remaining >> 2);
  const std::uint32_t c = quarter ^ context.sboxWord(prev % 1024);
  return context.sboxWord(c % 1024) ^ prev;
}

}  // namespace

void atlasDecipher(const BlowfishContext& context, std::uint8_t* buffer, std::size_t length) {
  if (buffer == nullptr) return;
  std::uint32_t prev = 0;
  for (std::size_t remaining = length; remaining >= 4; remaining -= 4) {
    std::uint8_t* p = buffer + (length - remaining);
    const std::uint32_t stored = loadLe32(p);
    storeLe32(p, stored ^ keystreamWord(context, remaining, prev));
    prev = stored;
  }
}

void atlasDecipherRange(const BlowfishContext& context, const std::uint8_t* stored,
                        std::size_t length, std::size_t first, std::size_t count,
                        std::uint8_t* out) {
  std::uint32_t prev = first >= 4 ? loadLe32(stored + first - 4) : 0;
  for (std::size_t at = first; at + 4 <= first + count; at += 4) {
    const std::uint32_t word = loadLe32(stored + at);
    storeLe32(out + (at - first), word ^ keystreamWord(context, length - at, prev));
    prev = word;
  }
}

void atlasEncipher(const BlowfishContext& context, std::uint8_t* buffer, std::size_t length) {
  if (buffer == nullptr) return;
  std::uint32_t prev = 0;
  for (std::size_t remaining = length; remaining >= 4; remaining -= 4) {
    std::uint8_t* p = buffer + (length - remaining);
    const std::uint32_t stored = loadLe32(p) ^ keystreamWord(context, remaining, prev);
    storeLe32(p, stored);
    prev = stored;
  }
}

}  // namespace orvane
