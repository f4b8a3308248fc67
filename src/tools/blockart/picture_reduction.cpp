#include "tools/blockart/picture_reduction.h"

#include <algorithm>

namespace orvane {
namespace {

// How much of each source pixel one field cell covers along one axis. Both are measured in
// units of 1 / (source size x field size), so that a source pixel i spans [i * field,
// (i + 1) * field) and cell c spans [c * source, (c + 1) * source): every overlap is an exact
// integer and the weights of one cell add up to `source`.
struct AxisWeights {
  int first = 0;                     // first source pixel the cell touches
  std::vector<std::int64_t> weight;  // overlap with source pixels first, first + 1, ...
};

std::vector<AxisWeights> axisWeights(int source, int field) {
  std::vector<AxisWeights> cells(field);
  for (int c = 0; c < field; ++c) {
    const std::int64_t begin = std::int64_t(c) * source, end = begin + source;
    const int firstPixel = int(begin / field);
    const int lastPixel = int((end - 1) / field);
    cells[c].first = firstPixel;
    for (int i = firstPixel; i <= lastPixel; ++i) {
      const std::int64_t pixelBegin = std::int64_t(i) * field, pixelEnd = pixelBegin + field;
      cells[c].weight.push_back(std::min(end, pixelEnd) - std::max(begin, pixelBegin));
    }
  }
  return cells;
}

}  // namespace

std::vector<std::uint32_t> reducePictureOverBlack(const Picture& picture, int columns, int rows) {
  const int width = picture.width, height = picture.height;
  if (width < 1 || height < 1 || columns < 1 || rows < 1 ||
      picture.rgba.size() < std::size_t(width) * height * 4) {
    return {};
  }
  const std::vector<AxisWeights> across = axisWeights(width, columns);
  const std::vector<AxisWeights> down = axisWeights(height, rows);

  // First every picture row shrinks to `columns` sums of alpha-weighted channels...
  std::vector<std::int64_t> rowSums(std::size_t(height) * columns * 3, 0);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* line = picture.rgba.data() + std::size_t(y) * width * 4;
    std::int64_t* out = rowSums.data() + std::size_t(y) * columns * 3;
    for (int c = 0; c < columns; ++c) {
      std::int64_t r = 0, g = 0, b = 0;
      for (std::size_t k = 0; k < across[c].weight.size(); ++k) {
        const std::uint8_t* p = line + std::size_t(across[c].first + int(k)) * 4;
        const std::int64_t w = across[c].weight[k] * p[3];
        r += w * p[0], g += w * p[1], b += w * p[2];
      }
      out[3 * c] = r, out[3 * c + 1] = g, out[3 * c + 2] = b;
    }
  }
  // ...then the columns of those sums shrink to `rows`. A cell's weights total width x height
  // (in the units above) and alpha counts up to 255, so the rounded quotient is the channel.
  const std::int64_t divisor = std::int64_t(width) * height * 255;
  std::vector<std::uint32_t> field(std::size_t(columns) * rows);
  for (int row = 0; row < rows; ++row) {
    for (int c = 0; c < columns; ++c) {
      std::int64_t sum[3] = {0, 0, 0};
      for (std::size_t k = 0; k < down[row].weight.size(); ++k) {
        const std::int64_t* s =
            rowSums.data() + (std::size_t(down[row].first) + k) * columns * 3 + 3 * c;
        for (int ch = 0; ch < 3; ++ch) sum[ch] += down[row].weight[k] * s[ch];
      }
      std::uint32_t argb = 0xFF000000u;
      for (int ch = 0; ch < 3; ++ch) {
        const std::int64_t value = std::min<std::int64_t>(255, (sum[ch] + divisor / 2) / divisor);
        argb |= std::uint32_t(value) << (16 - 8 * ch);
      }
      field[std::size_t(row) * columns + c] = argb;
    }
  }
  return field;
}

}  // namespace orvane
