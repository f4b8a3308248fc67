#include "render/texel_sheet.h"

#include <algorithm>

#include "render/pixel_blend.h"

namespace orvane {

OwnedTexelSheet::OwnedTexelSheet(const TexelSheet& above) {
  const int w = std::max(1, above.width / 2), h = std::max(1, above.height / 2);
  std::vector<std::uint32_t> texels(std::size_t(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint32_t* r = above.record(2 * x, 2 * y);
      texels[std::size_t(y) * w + x] = mean4(r[0], r[1], r[2], r[3]);
    }
  }
  make(w, h, texels.data());
}

void OwnedTexelSheet::make(int width, int height, const std::uint32_t* texels) {
  const int stride = width + 1;
  sheet_.width = width;
  sheet_.height = height;
  sheet_.stride = stride;
  records_.reset(new std::uint32_t[4 * std::size_t(stride) * std::size_t(height + 1)]);
  sheet_.origin = records_.get() + 4 * (stride + 1);
  auto texel = [&](int x, int y) {
    return texels[std::size_t(std::clamp(y, 0, height - 1)) * width + std::clamp(x, 0, width - 1)];
  };
  std::uint32_t* out = records_.get();
  for (int y = -1; y < height; ++y) {
    for (int x = -1; x < width; ++x, out += 4) {
      out[0] = texel(x, y), out[1] = texel(x + 1, y);
      out[2] = texel(x, y + 1), out[3] = texel(x + 1, y + 1);
    }
  }

  int levels = 0;
  while ((2 << levels) <= height) ++levels;
  extents_.reset(new std::int16_t[2 * std::size_t(height) * std::size_t(levels + 1)]);
  std::int16_t* first = extents_.get();
  std::int16_t* last = first + height;
  sheet_.first = first, sheet_.last = last;
  sheet_.firstRow = height, sheet_.lastRow = -1;
  const std::uint32_t* end = texels + std::size_t(width) * height;
  sheet_.allVisible = std::all_of(texels, end, [](std::uint32_t t) { return (t >> 24) != 0; });
  sheet_.allOpaque = std::all_of(texels, end, [](std::uint32_t t) { return (t >> 24) == 255; });
  sheet_.uniform = std::all_of(texels, end, [&](std::uint32_t t) { return t == texels[0]; });
  sheet_.uniformTexel = texels[0];
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = texels + std::size_t(y) * width;
    int f = 0, l = width - 1;
    while (f < width && (row[f] >> 24) == 0) ++f;
    while (l >= f && (row[l] >> 24) == 0) --l;
    if (f > l) l = -1;  // a clear row widens no union of rows
    first[y] = std::int16_t(f), last[y] = std::int16_t(l);
    if (f <= l) sheet_.firstRow = std::min(sheet_.firstRow, y), sheet_.lastRow = y;
  }
  sheet_.firsts[0] = first, sheet_.lasts[0] = last;
  for (int k = 1; k <= levels; ++k) {
    std::int16_t* firsts = extents_.get() + 2 * std::size_t(height) * std::size_t(k);
    std::int16_t* lasts = firsts + height;
    const int half = 1 << (k - 1);
    for (int y = 0; y + (1 << k) <= height; ++y) {
      firsts[y] = std::min(sheet_.firsts[k - 1][y], sheet_.firsts[k - 1][y + half]);
      lasts[y] = std::max(sheet_.lasts[k - 1][y], sheet_.lasts[k - 1][y + half]);
    }
    sheet_.firsts[k] = firsts, sheet_.lasts[k] = lasts;
  }
}

}  // namespace orvane
