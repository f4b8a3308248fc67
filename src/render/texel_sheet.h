#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace orvane {

// One mip level of a rectangle of texels (an atlas cell, usually) laid out for bilinear reads:
// a record of four texels for each texel position, so that a read is one 16-byte fetch.
//
// Record (x, y), for x in [-1, width - 1] and y in [-1, height - 1], holds the texels
// (x, y), (x + 1, y), (x, y + 1), (x + 1, y + 1), each coordinate clamped into the rectangle.
// A bilinear read of texel columns clamp(x) and clamp(x + 1) and rows clamp(y) and clamp(y + 1)
// is then record (clamp(x, -1, width - 1), clamp(y, -1, height - 1)), with no further clamping;
// texel (x, y) of the rectangle is the first texel of record (x, y).
//
// Level l + 1 holds the rounded means of the 2 x 2 texels of level l (the four texels of record
// (2x, 2y)), as Texture::level makes them: a rectangle whose corners lie on multiples of 2^l has
// the texels of the texture's level l there.
struct TexelSheet {
  int width = 0;   // texels of the rectangle at this level
  int height = 0;  //
  int stride = 0;  // records from a row to the next: width + 1
  // Record (0, 0), four words 0xAARRGGBB in the order above.
  const std::uint32_t* origin = nullptr;
  // For each row, the columns [first, last] holding every texel of alpha above 0 (first > last
  // in a row of clear texels); and the rows [firstRow, lastRow] holding every such texel.
  const std::int16_t* first = nullptr;
  const std::int16_t* last = nullptr;
  int firstRow = 0, lastRow = -1;
  // The same for runs of 2^k rows: firsts[k][y] is the least first of rows y ... y + 2^k - 1,
  // lasts[k][y] the greatest last, for 2^k <= height.
  const std::int16_t* firsts[16] = {};
  const std::int16_t* lasts[16] = {};
  bool allVisible = false;  // every texel has alpha above 0
  bool allOpaque = false;   // every texel has alpha 255
  // Every texel is this one, so that any filtered read gives it (the blend and the mean of
  // equal texels are that texel).
  bool uniform = false;
  std::uint32_t uniformTexel = 0;

  bool anyVisible() const { return firstRow <= lastRow; }
  const std::uint32_t* record(int x, int y) const {
    return origin + 4 * (std::ptrdiff_t(y) * stride + std::ptrdiff_t(x));
  }
  std::uint32_t at(int x, int y) const { return record(x, y)[0]; }
  // The least first and greatest last of rows [y0, y1] (y0 <= y1).
  void extentOfRows(int y0, int y1, int& leastFirst, int& greatestLast) const {
    const int k = 31 - __builtin_clz(unsigned(y1 - y0 + 1));
    const int y = y1 - (1 << k) + 1;
    leastFirst = firsts[k][y0] < firsts[k][y] ? firsts[k][y0] : firsts[k][y];
    greatestLast = lasts[k][y0] > lasts[k][y] ? lasts[k][y0] : lasts[k][y];
  }
};

// A sheet with its own storage.
class OwnedTexelSheet {
 public:
  // A width x height level whose rows fillRow(y, texels) writes, width texels each.
  template <typename FillRow>
  OwnedTexelSheet(int width, int height, FillRow&& fillRow) {
    std::vector<std::uint32_t> texels(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) fillRow(y, texels.data() + std::size_t(y) * width);
    make(width, height, texels.data());
  }
  // The next smaller level of `above` (whose sides are even).
  explicit OwnedTexelSheet(const TexelSheet& above);
  OwnedTexelSheet(const OwnedTexelSheet&) = delete;
  OwnedTexelSheet& operator=(const OwnedTexelSheet&) = delete;

  const TexelSheet& sheet() const { return sheet_; }

 private:
  // The records and extents of width x height texels, rows packed.
  void make(int width, int height, const std::uint32_t* texels);

  TexelSheet sheet_;
  std::unique_ptr<std::uint32_t[]> records_;
  std::unique_ptr<std::int16_t[]> extents_;
};

}  // namespace orvane
