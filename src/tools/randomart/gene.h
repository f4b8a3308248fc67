#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace orvane {

static_assert(std::endian::native == std::endian::little,
              "genes and DNA files keep their words little-endian in memory");

// Bit fields of a gene's attribute word. Bit 31 belongs to no field: nothing sets it and
// nothing reads it.
inline constexpr unsigned kRedShift = 0, kGreenShift = 6, kBlueShift = 12;
inline constexpr unsigned kAlphaShift = 18, kPartShift = 21;
inline constexpr unsigned kChannelBits = 6, kAlphaBits = 3, kPartBits = 10;

// One layer of a random-art genome: four vertices in emblem coordinates (x to the right, y
// downwards) and a packed attribute word. The 12 bytes are the same in memory and in DNA files:
// x0 y0 (left-top), x1 y1 (left-bottom), x2 y2 (right-top), x3 y3 (right-bottom) as int8, then
// the attributes as a little-endian uint32.
struct Gene {
  std::int8_t xy[8];  // xy[2 * v] is vertex v's x, xy[2 * v + 1] its y
  std::uint32_t attributes;

  std::int8_t x(int v) const { return xy[2 * v]; }
  std::int8_t y(int v) const { return xy[2 * v + 1]; }
  std::uint32_t field(unsigned shift, unsigned bits) const {
    return (attributes >> shift) & ((1u << bits) - 1);
  }
  // Stores the value cut to the field's width.
  void setField(unsigned shift, unsigned bits, std::uint32_t value) {
    const std::uint32_t mask = ((1u << bits) - 1) << shift;
    attributes = (attributes & ~mask) | ((value << shift) & mask);
  }
  std::uint32_t part() const { return field(kPartShift, kPartBits); }

  friend bool operator==(const Gene& a, const Gene& b) {
    return std::memcmp(&a, &b, sizeof(Gene)) == 0;
  }
};
static_assert(sizeof(Gene) == 12 && alignof(Gene) == 4);

// The gene's colour as 0xAARRGGBB: a 6-bit channel c becomes (c << 2) | (c >> 4), so 0 gives 0
// and 63 gives 255; the 3-bit alpha a becomes (a + 1) * 255 / 8 rounded down (31 ... 255), so no
// gene is fully transparent.
inline std::uint32_t geneColour(const Gene& gene) {
  auto channel = [&](unsigned shift) {
    const std::uint32_t c = gene.field(shift, kChannelBits);
    return (c << 2) | (c >> 4);
  };
  const std::uint32_t alpha = (gene.field(kAlphaShift, kAlphaBits) + 1) * 255 / 8;
  return alpha << 24 | channel(kRedShift) << 16 | channel(kGreenShift) << 8 | channel(kBlueShift);
}

// Room for 512 genes; the count never passes 511, so an insertion, which shifts the genes above
// it up by one slot, always has a slot to shift into. Gene 0 is drawn first (at the back).
inline constexpr int kGenomeCapacity = 512;
inline constexpr int kMaxGeneCount = kGenomeCapacity - 1;

struct Genome {
  std::array<Gene, kGenomeCapacity> genes{};
  std::int32_t count = 0;
};

// Copies the count and the genes in use with one block copy.
inline void copyGenome(const Genome& from, Genome& to) {
  to.count = std::clamp(from.count, 0, kMaxGeneCount);
  std::memcpy(to.genes.data(), from.genes.data(), std::size_t(to.count) * sizeof(Gene));
}

}  // namespace orvane
