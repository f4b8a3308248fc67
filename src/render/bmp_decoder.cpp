// BMP files: the core and the Windows headers (12, 40, 52, 56, 108 or 124 bytes), 1, 4 and 8
// bits through a palette, 16 and 32 bits through bit masks (given or the usual ones), 24 bits,
// rows bottom-up or, with a negative height, top-down. Compressed BMP files are not read.
#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#include "base/failure.h"
#include "render/picture_decoders.h"

namespace orvane {
namespace {

// One channel given by a bit mask, widened (or narrowed) to 8 bits.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t top = 0;  // the largest value the channel can hold
  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    top = mask >> shift;
  }
  std::uint8_t operator()(std::uint32_t pixel, std::uint8_t absent) const {
    if (mask == 0) return absent;
    return std::uint8_t((std::uint64_t((pixel & mask) >> shift) * 255 + top / 2) / top);
  }
};

struct BmpLayout {
  long long width = 0, height = 0;
  bool topDown = false;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;
  std::size_t paletteAt = 0, paletteEntries = 0, paletteEntrySize = 4;
  Channel red, green, blue, alpha;
};

bool damaged(std::string* error, const char* why) {
  return fail(error, std::string("damaged BMP: ") + why);
}

bool readLayout(std::span<const std::uint8_t> b, BmpLayout& l, std::string* error) {
  if (b.size() < 18) return damaged(error, "file cut short");
  const std::uint32_t headerSize = le32(b, 14);
  constexpr std::array<std::uint32_t, 6> kHeaders = {12, 40, 52, 56, 108, 124};
  if (std::find(kHeaders.begin(), kHeaders.end(), headerSize) == kHeaders.end()) {
    return fail(error, "unsupported BMP header");
  }
  if (b.size() < 14 + std::size_t(headerSize)) return damaged(error, "file cut short");
  std::uint32_t colours = 0;
  if (headerSize == 12) {
    l.width = le16(b, 18), l.height = le16(b, 20), l.bits = le16(b, 24);
    l.paletteEntrySize = 3;
  } else {
    l.width = std::int32_t(le32(b, 18)), l.height = std::int32_t(le32(b, 22));
    l.bits = le16(b, 28), l.compression = le32(b, 30), colours = le32(b, 46);
  }
  if (l.height < 0) l.topDown = true, l.height = -l.height;
  if (!pictureSizeAccepted(l.width, l.height, error)) return false;
  if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 16 && l.bits != 24 && l.bits != 32) {
    return fail(error, "unsupported BMP pixel depth");
  }
  l.paletteAt = 14 + headerSize;
  if (l.compression == 3 || l.compression == 6) {  // bit masks, the second with alpha
    if (l.bits != 16 && l.bits != 32) return damaged(error, "bit masks for a palette");
    const bool withAlpha = l.compression == 6 || headerSize >= 56;
    const std::size_t masksEnd = 14 + 40 + (withAlpha ? 16 : 12);
    if (b.size() < masksEnd) return damaged(error, "file cut short");
    l.red = Channel(le32(b, 54)), l.green = Channel(le32(b, 58)), l.blue = Channel(le32(b, 62));
    if (withAlpha) l.alpha = Channel(le32(b, 66));
  } else if (l.compression != 0) {
    return fail(error, "unsupported BMP compression");
  } else if (l.bits == 16) {
    l.red = Channel(0x7C00), l.green = Channel(0x03E0), l.blue = Channel(0x001F);
  } else if (l.bits == 32) {
    l.red = Channel(0xFF0000), l.green = Channel(0xFF00), l.blue = Channel(0xFF);
    l.alpha = Channel(0xFF000000);
  }
  if (l.bits <= 8) {
    l.paletteEntries = std::min<std::size_t>(colours ? colours : 1u << l.bits, 256);
    if (b.size() < l.paletteAt + l.paletteEntries * l.paletteEntrySize) {
      return damaged(error, "file cut short");
    }
  }
  return true;
}

}  // namespace

bool decodeBmp(std::span<const std::uint8_t> b, PictureBuilder& out, std::string* error) {
  BmpLayout l;
  if (!readLayout(b, l, error)) return false;
  const std::size_t width = std::size_t(l.width), height = std::size_t(l.height);
  const std::size_t stride = (width * l.bits + 31) / 32 * 4;
  const std::size_t dataAt = le32(b, 10);
  if (dataAt > b.size() || (b.size() - dataAt) / stride < height) {
    return damaged(error, "file cut short");
  }
  std::array<std::uint8_t, 256 * 4> palette{};
  for (std::size_t i = 0; i < l.paletteEntries; ++i) {
    const std::uint8_t* entry = &b[l.paletteAt + i * l.paletteEntrySize];
    palette[4 * i] = entry[2], palette[4 * i + 1] = entry[1], palette[4 * i + 2] = entry[0];
  }
  for (std::size_t i = 0; i < 256; ++i) palette[4 * i + 3] = 0xFF;
  auto word = [&](const std::uint8_t* p) {
    return l.bits == 16 ? std::uint32_t(p[0] | p[1] << 8)
                        : std::uint32_t(p[0] | p[1] << 8 | p[2] << 16) | std::uint32_t(p[3]) << 24;
  };
  // An alpha channel that is 0 everywhere was never meant as one: such pictures are opaque.
  if (l.alpha.mask != 0) {
    bool anyAlpha = false;
    for (std::size_t y = 0; y < height && !anyAlpha; ++y) {
      const std::uint8_t* line = &b[dataAt + y * stride];
      for (std::size_t x = 0; x < width && !anyAlpha; ++x) {
        anyAlpha = (word(line + x * l.bits / 8) & l.alpha.mask) != 0;
      }
    }
    if (!anyAlpha) l.alpha = Channel();
  }

  if (!out.start(int(width), int(height), error)) return false;
  std::vector<std::uint8_t> row(width * 4);
  for (std::size_t r = 0; r < height; ++r) {
    const std::uint8_t* line = &b[dataAt + r * stride];
    for (std::size_t x = 0; x < width; ++x) {
      std::uint8_t* p = &row[4 * x];
      if (l.bits <= 8) {
        const std::size_t bit = x * l.bits;
        const unsigned index = (line[bit / 8] >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
        std::copy_n(&palette[4 * index], 4, p);
      } else if (l.bits == 24) {
        p[0] = line[3 * x + 2], p[1] = line[3 * x + 1], p[2] = line[3 * x], p[3] = 0xFF;
      } else {
        const std::uint32_t pixel = word(line + x * l.bits / 8);
        p[0] = l.red(pixel, 0), p[1] = l.green(pixel, 0), p[2] = l.blue(pixel, 0);
        p[3] = l.alpha(pixel, 0xFF);
      }
    }
    out.row(int(l.topDown ? r : height - 1 - r), row.data());
  }
  return true;
}

}  // namespace orvane
