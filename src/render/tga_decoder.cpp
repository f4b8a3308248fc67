// TGA files: colour-mapped (8 or 16-bit indices), true-colour (15, 16, 24 or 32 bits) and grey
// (8 bits, or 16 with alpha), plain or run-length encoded, in any of the four corner orders.
// Alpha comes from 32-bit and grey-and-alpha pixels when the header says they carry it.
#include <algorithm>
#include <vector>

#include "base/failure.h"
#include "render/picture_decoders.h"

namespace orvane {
namespace {

enum : std::uint8_t { kColourMapped = 1, kTrueColour = 2, kGrey = 3, kRunLength = 8 };

bool damaged(std::string* error, const char* why) {
  return fail(error, std::string("damaged TGA: ") + why);
}

bool isColourMapDepth(std::uint32_t bits) {
  return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

// One pixel of `bits` bits (or a colour-map entry) as RGBA.
void expand(const std::uint8_t* in, std::uint32_t bits, bool grey, bool useAlpha,
            std::uint8_t* out) {
  if (grey) {
    out[0] = out[1] = out[2] = in[0];
    out[3] = bits == 16 && useAlpha ? in[1] : 0xFF;
  } else if (bits <= 16) {  // 5 bits each of blue, green and red; the attribute bit is not alpha
    const std::uint32_t v = std::uint32_t(in[0] | in[1] << 8);
    auto widen = [](std::uint32_t five) { return std::uint8_t(five << 3 | five >> 2); };
    out[0] = widen(v >> 10 & 31), out[1] = widen(v >> 5 & 31), out[2] = widen(v & 31);
    out[3] = 0xFF;
  } else {
    out[0] = in[2], out[1] = in[1], out[2] = in[0];
    out[3] = bits == 32 && useAlpha ? in[3] : 0xFF;
  }
}

}  // namespace

bool looksLikeTga(std::span<const std::uint8_t> b) {
  if (b.size() < 18 || b[1] > 1) return false;
  const std::uint32_t type = b[2] & ~std::uint32_t(kRunLength), bits = b[16];
  if (b[2] == 0 || b[2] > 11 || (b[2] > 3 && b[2] < 9)) return false;
  if (b[1] == 1 && !isColourMapDepth(b[7])) return false;
  if (type == kColourMapped) return b[1] == 1 && (bits == 8 || bits == 16);
  if (type == kTrueColour) return isColourMapDepth(bits);
  return bits == 8 || bits == 16;  // grey
}

bool decodeTga(std::span<const std::uint8_t> b, PictureBuilder& out, std::string* error) {
  if (!looksLikeTga(b)) return fail(error, "not a readable TGA picture");
  const std::size_t width = le16(b, 12), height = le16(b, 14);
  if (!pictureSizeAccepted(long(width), long(height), error)) return false;
  const std::uint32_t type = b[2] & ~std::uint32_t(kRunLength), bits = b[16];
  const bool runLength = (b[2] & kRunLength) != 0;
  const bool useAlpha = (b[17] & 0x0F) != 0;
  const std::size_t pixelSize = (bits + 7) / 8;
  const std::size_t mapLength = b[1] ? le16(b, 5) : 0, mapEntrySize = (b[7] + 7u) / 8;
  const std::size_t mapAt = 18 + std::size_t(b[0]);
  std::size_t at = mapAt + mapLength * mapEntrySize;
  if (at > b.size()) return damaged(error, "file cut short");

  // Every pixel must be there: the run-length packets (or the plain pixels) must cover them all.
  const std::size_t pixels = width * height;
  if (!runLength) {
    if ((b.size() - at) / pixelSize < pixels) return damaged(error, "file cut short");
  } else {
    std::size_t p = at;
    for (std::size_t done = 0; done < pixels;) {
      if (p >= b.size()) return damaged(error, "file cut short");
      const std::size_t count = (b[p] & 0x7Fu) + 1;
      p += 1 + (b[p] & 0x80 ? 1 : count) * pixelSize;
      done += count;
    }
    if (p > b.size()) return damaged(error, "file cut short");
  }

  std::vector<std::uint8_t> map(mapLength * 4);
  if (type == kColourMapped) {
    for (std::size_t i = 0; i < mapLength; ++i) {
      expand(&b[mapAt + i * mapEntrySize], b[7], false, useAlpha, &map[4 * i]);
    }
  }
  auto toRgba = [&](const std::uint8_t* in, std::uint8_t* rgba) {
    if (type != kColourMapped) return expand(in, bits, type == kGrey, useAlpha, rgba);
    const std::size_t index = bits == 8 ? in[0] : std::size_t(in[0] | in[1] << 8);
    static constexpr std::uint8_t kBlack[4] = {0, 0, 0, 0xFF};
    std::copy_n(index < mapLength ? &map[4 * index] : kBlack, 4, rgba);
  };

  if (!out.start(int(width), int(height), error)) return false;
  const bool topDown = (b[17] & 0x20) != 0, rightToLeft = (b[17] & 0x10) != 0;
  std::vector<std::uint8_t> row(width * 4);
  std::size_t packetLeft = 0;
  bool repeating = false;
  std::uint8_t repeated[4] = {};
  for (std::size_t r = 0; r < height; ++r) {
    for (std::size_t c = 0; c < width; ++c) {
      std::uint8_t* rgba = &row[4 * (rightToLeft ? width - 1 - c : c)];
      if (!runLength) {
        toRgba(&b[at], rgba);
        at += pixelSize;
        continue;
      }
      if (packetLeft == 0) {
        repeating = (b[at] & 0x80) != 0;
        packetLeft = (b[at] & 0x7Fu) + 1;
        ++at;
        if (repeating) {
          toRgba(&b[at], repeated);
          at += pixelSize;
        }
      }
      if (repeating) {
        std::copy_n(repeated, 4, rgba);
      } else {
        toRgba(&b[at], rgba);
        at += pixelSize;
      }
      --packetLeft;
    }
    out.row(int(topDown ? r : height - 1 - r), row.data());
  }
  return true;
}

}  // namespace orvane
