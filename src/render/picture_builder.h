#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "render/picture_file.h"

namespace orvane {

// Collects the pixels a decoder hands out, row by row or (for interlaced files) a few pixels of
// a row at a time, into a Picture, reducing it on the way when it is larger than the caller
// wants: by the smallest whole factor f that brings both sides within maxSide, each resulting
// pixel the mean of the f x f pixels it covers (fewer at the right and bottom edges), colours
// weighted by alpha. So a large picture never takes more memory than its reduced size needs.
class PictureBuilder {
 public:
  // maxSide 0 keeps every picture whole; other values are taken as at least kMinReducedSide.
  explicit PictureBuilder(int maxSide) : maxSide_(maxSide) {}
  static constexpr int kMinReducedSide = 64;  // keeps the sums of a cell within 32 bits

  // Starts a picture of width x height decoded pixels (each side 1 ... kMaxPictureSide, checked
  // by the caller). False with a reason when the memory cannot be had.
  bool start(int width, int height, std::string* error);
  int width() const { return width_; }
  int height() const { return height_; }
  // The side the picture is reduced to fit, 0 for none: decoders that can shrink a picture
  // cheaply themselves may decode it smaller, down to this.
  int reducedSide() const { return maxSide_ > 0 ? std::max(maxSide_, kMinReducedSide) : 0; }
  // The picture's own pixels (rows top to bottom, 4 bytes each) when it is not being reduced,
  // for decoders that write a whole picture at once; null otherwise.
  std::uint8_t* directPixels() { return factor_ == 1 ? rgba_.data() : nullptr; }

  // `count` RGBA pixels of row y at x = first, first + step, ...; each pixel of the picture
  // must come exactly once, rows in any order.
  void pixels(int y, int first, int step, const std::uint8_t* rgba, int count);
  void row(int y, const std::uint8_t* rgba) { pixels(y, 0, 1, rgba, width_); }

  // The finished picture; the builder is empty afterwards.
  Picture finish();

 private:
  int maxSide_;
  int width_ = 0, height_ = 0;
  int factor_ = 1;
  int outWidth_ = 0, outHeight_ = 0;
  std::vector<std::uint8_t> rgba_;   // the picture itself when not reducing
  std::vector<std::uint32_t> sums_;  // per reduced pixel: red, green, blue times alpha; alpha
};

}  // namespace orvane
