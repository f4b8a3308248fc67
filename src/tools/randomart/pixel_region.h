#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#include "tools/randomart/genome_rendering.h"

namespace orvane {

// A set of field pixels, one bit each, with a map of 8 x 8 tiles for rejecting whole genes
// cheaply. Clearing costs only the rows in use.
class PixelRegion {
 public:
  static constexpr int kWordsPerRow = kFieldWidth / 64;
  static constexpr int kTileSize = 8;
  static constexpr int kTileRows = kFieldHeight / kTileSize;

  void clear() {
    if (rowEnd_ > rowBegin_) {
      std::fill(bits_.begin() + rowBegin_ * kWordsPerRow, bits_.begin() + rowEnd_ * kWordsPerRow,
                0);
    }
    tiles_.fill(0);
    rowBegin_ = kFieldHeight;
    rowEnd_ = 0;
  }

  // Adds pixels [x0, x1) of row y (clipped to the field).
  void addSpan(int y, int x0, int x1) {
    x0 = std::max(x0, 0), x1 = std::min(x1, kFieldWidth);
    if (y < 0 || y >= kFieldHeight || x1 <= x0) return;
    for (int k = x0 >> 6; k <= (x1 - 1) >> 6; ++k)
      bits_[y * kWordsPerRow + k] |= wordMask(k, x0, x1);
    const int t0 = x0 / kTileSize, t1 = (x1 - 1) / kTileSize;
    tiles_[y / kTileSize] |= ((2u << t1) - 1) & ~((1u << t0) - 1);
    rowBegin_ = std::min(rowBegin_, y);
    rowEnd_ = std::max(rowEnd_, y + 1);
  }

  bool empty() const { return rowEnd_ <= rowBegin_; }
  int rowBegin() const { return rowBegin_; }
  int rowEnd() const { return rowEnd_; }

  // Whether any tile of the rectangle [x0, x1) x [y0, y1) holds region pixels; false for an
  // empty rectangle. May say true for a rectangle that only shares tiles with the region.
  bool touches(int x0, int y0, int x1, int y1) const {
    x0 = std::max(x0, 0), y0 = std::max(y0, rowBegin_);
    x1 = std::min(x1, kFieldWidth), y1 = std::min(y1, rowEnd_);
    if (x1 <= x0 || y1 <= y0) return false;
    const int t0 = x0 / kTileSize, t1 = (x1 - 1) / kTileSize;
    const std::uint32_t columns = ((2u << t1) - 1) & ~((1u << t0) - 1);
    for (int ty = y0 / kTileSize; ty <= (y1 - 1) / kTileSize; ++ty) {
      if (tiles_[ty] & columns) return true;
    }
    return false;
  }

  // The region's pixels x ... x + 7 of row y as the bits 0 ... 7 (pixels past the row's end
  // are not in it). x must lie in the row.
  unsigned eightAt(int y, int x) const {
    const int k = x >> 6, shift = x & 63;
    std::uint64_t bits = bits_[y * kWordsPerRow + k] >> shift;
    if (shift > 56 && k + 1 < kWordsPerRow) bits |= bits_[y * kWordsPerRow + k + 1] << (64 - shift);
    return unsigned(bits & 0xFF);
  }

  // Calls f(a, b) for runs [a, b) of region pixels in row y within [x0, x1), left to right; a
  // run that crosses a 64-pixel boundary comes in two pieces.
  template <typename F>
  void forEachRun(int y, int x0, int x1, F&& f) const {
    x0 = std::max(x0, 0), x1 = std::min(x1, kFieldWidth);
    if (x1 <= x0) return;
    for (int k = x0 >> 6; k <= (x1 - 1) >> 6; ++k) {
      std::uint64_t m = bits_[y * kWordsPerRow + k] & wordMask(k, x0, x1);
      while (m) {
        const int a = std::countr_zero(m);
        const std::uint64_t rest = ~(m >> a);
        const int length = rest ? std::countr_zero(rest) : 64 - a;
        f(64 * k + a, 64 * k + a + length);
        m = a + length >= 64 ? 0 : m & (~0ull << (a + length));
      }
    }
  }

 private:
  // Bits of word k (pixels 64k ... 64k + 63) that lie in [x0, x1).
  static std::uint64_t wordMask(int k, int x0, int x1) {
    const int lo = std::max(x0 - 64 * k, 0), hi = std::min(x1 - 64 * k, 64);
    const std::uint64_t below = hi >= 64 ? ~0ull : (1ull << hi) - 1;
    return below & ~((1ull << lo) - 1);
  }

  std::array<std::uint64_t, kFieldHeight * kWordsPerRow> bits_{};
  std::array<std::uint32_t, kTileRows> tiles_{};
  int rowBegin_ = kFieldHeight, rowEnd_ = 0;
};

}  // namespace orvane
