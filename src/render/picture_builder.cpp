#include "render/picture_builder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/failure.h"

namespace orvane {

bool PictureBuilder::start(int width, int height, std::string* error) {
  width_ = width, height_ = height;
  factor_ = 1;
  if (const int side = reducedSide(); side > 0) {
    factor_ = std::max((width + side - 1) / side, (height + side - 1) / side);
  }
  outWidth_ = (width + factor_ - 1) / factor_;
  outHeight_ = (height + factor_ - 1) / factor_;
  try {
    if (factor_ == 1) {
      rgba_.assign(std::size_t(width) * std::size_t(height) * 4, 0);
    } else {
      sums_.assign(std::size_t(outWidth_) * std::size_t(outHeight_) * 4, 0);
    }
  } catch (const std::bad_alloc&) {
    return fail(error, "out of memory");
  }
  return true;
}

void PictureBuilder::pixels(int y, int first, int step, const std::uint8_t* rgba, int count) {
  if (y < 0 || y >= height_) return;
  if (factor_ == 1) {
    std::uint8_t* line = rgba_.data() + std::size_t(y) * std::size_t(width_) * 4;
    if (step == 1 && first >= 0 && first + count <= width_) {
      std::memcpy(line + std::size_t(first) * 4, rgba, std::size_t(count) * 4);
      return;
    }
    for (int i = 0, x = first; i < count && x < width_; ++i, x += step) {
      std::memcpy(line + std::size_t(x) * 4, rgba + std::size_t(i) * 4, 4);
    }
    return;
  }
  std::uint32_t* cells = sums_.data() + std::size_t(y / factor_) * std::size_t(outWidth_) * 4;
  for (int i = 0, x = first; i < count && x < width_; ++i, x += step) {
    const std::uint8_t* p = rgba + std::size_t(i) * 4;
    std::uint32_t* cell = cells + std::size_t(x / factor_) * 4;
    const std::uint32_t alpha = p[3];
    cell[0] += p[0] * alpha, cell[1] += p[1] * alpha, cell[2] += p[2] * alpha, cell[3] += alpha;
  }
}

Picture PictureBuilder::finish() {
  Picture picture{outWidth_, outHeight_, {}};
  if (factor_ == 1) {
    picture.rgba = std::move(rgba_);
  } else {
    picture.rgba.resize(std::size_t(outWidth_) * std::size_t(outHeight_) * 4);
    for (int v = 0; v < outHeight_; ++v) {
      const std::uint32_t rows = std::uint32_t(std::min(factor_, height_ - v * factor_));
      for (int u = 0; u < outWidth_; ++u) {
        const std::uint32_t columns = std::uint32_t(std::min(factor_, width_ - u * factor_));
        const std::size_t at = (std::size_t(v) * std::size_t(outWidth_) + std::size_t(u)) * 4;
        const std::uint32_t* cell = sums_.data() + at;
        std::uint8_t* out = picture.rgba.data() + at;
        const std::uint32_t alpha = cell[3];
        for (int c = 0; c < 3; ++c) {
          out[c] = alpha == 0 ? 0 : std::uint8_t((cell[c] + alpha / 2) / alpha);
        }
        const std::uint32_t n = rows * columns;
        out[3] = std::uint8_t((alpha + n / 2) / n);
      }
    }
    sums_ = {};
  }
  *this = PictureBuilder(maxSide_);
  return picture;
}

}  // namespace orvane
