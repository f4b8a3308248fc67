// The PNG writer's choice of a filter for each row, and its files read back through the reader
// pixel for pixel whichever filter each row took; pictures encoded from the renderer's words
// read back as those encoded from RGBA bytes.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "render/picture_file.h"
#include "render/png_filters.h"

namespace orvane {
namespace {

std::span<const std::uint8_t> asBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// Rows of `width` 3-byte pixels, each after a pixel of zeros, as the writer keeps them.
struct Rows {
  explicit Rows(int width) : length(std::size_t(width) * 3), bytes(2 * (length + 3), 0) {}
  std::uint8_t* above() { return bytes.data() + 3; }
  std::uint8_t* row() { return bytes.data() + 3 + length + 3; }
  std::size_t length;
  std::vector<std::uint8_t> bytes;
};

TEST(PngFilterChoice, TheRowTakesTheFilterThatLeavesTheLeast) {
  Rows r(40);
  std::mt19937 rng(1);
  for (std::size_t i = 0; i < r.length; ++i) r.above()[i] = std::uint8_t(rng());
  // The row above again: Up leaves zeros.
  std::copy_n(r.above(), r.length, r.row());
  EXPECT_EQ(choosePngFilter(r.row(), r.above(), r.length, 3), PngFilter::Up);
  // One colour across the row, unlike the noise above: Sub leaves zeros but for the first pixel.
  for (std::size_t i = 0; i < r.length; ++i) r.row()[i] = std::uint8_t(200 + i % 3);
  EXPECT_EQ(choosePngFilter(r.row(), r.above(), r.length, 3), PngFilter::Sub);
  // Bytes near 0 (or near 256, read as small negative numbers) but changing wildly from pixel
  // to pixel: left as they are.
  for (std::size_t i = 0; i < r.length; ++i) r.row()[i] = std::uint8_t(i % 2 ? 3 : 253);
  EXPECT_EQ(choosePngFilter(r.row(), r.above(), r.length, 3), PngFilter::None);
  // A tie goes to the first of None, Sub, Up: a black row under a black row.
  std::fill_n(r.above(), r.length, 0);
  std::fill_n(r.row(), r.length, 0);
  EXPECT_EQ(choosePngFilter(r.row(), r.above(), r.length, 3), PngFilter::None);
  // Rows shorter than the vector step are weighed the same way.
  EXPECT_EQ(choosePngFilter(r.row(), r.above(), 6, 3), PngFilter::None);
}

// A picture whose rows ask for every filter: noise, the row above again, flat colours, bytes
// alternating around 0, and a smooth gradient, in alpha too when it has any.
Picture rowsOfEveryKind(int width, int height, bool withAlpha) {
  Picture p{width, height, std::vector<std::uint8_t>(std::size_t(width) * height * 4)};
  std::mt19937 rng(2);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = &p.rgba[std::size_t(y) * width * 4];
    for (int x = 0; x < width; ++x) {
      std::uint8_t* px = row + 4 * x;
      switch (y % 5) {
        case 0:
          for (int c = 0; c < 4; ++c) px[c] = std::uint8_t(rng());
          break;
        case 1:
          std::copy_n(px - 4 * std::size_t(width), 4, px);
          break;
        case 2:
          px[0] = 40, px[1] = std::uint8_t(y), px[2] = 250, px[3] = std::uint8_t(255 - y);
          break;
        case 3:
          px[0] = px[1] = px[2] = px[3] = x % 2 ? 2 : 254;
          break;
        default:
          px[0] = std::uint8_t(x), px[1] = std::uint8_t(x + y), px[2] = std::uint8_t(3 * x);
          px[3] = std::uint8_t(x * 2);
          break;
      }
      if (!withAlpha) px[3] = 0xFF;
    }
  }
  return p;
}

TEST(PictureFiles, PngsReadBackWhicheverFilterEachRowTook) {
  for (bool alpha : {false, true}) {
    // Widths around the vector steps (16 bytes, 8 pixels), and one pixel.
    for (int width : {1, 5, 16, 37, 160}) {
      const Picture in = rowsOfEveryKind(width, 23, alpha);
      // Every filter is chosen for some row of the picture (the first row has zeros above).
      const std::size_t length = std::size_t(width) * (alpha ? 4 : 3);
      const int channels = alpha ? 4 : 3;
      std::vector<int> chosen(5, 0);
      std::vector<std::uint8_t> above(length + 4, 0), row(length + 4, 0);
      for (int y = 0; y < in.height; ++y) {
        for (int x = 0; x < width; ++x) {
          std::copy_n(&in.rgba[(std::size_t(y) * width + x) * 4], channels, &row[4 + x * channels]);
        }
        ++chosen[int(choosePngFilter(&row[4], &above[4], length, channels))];
        std::swap(row, above);
      }
      if (width >= 16) {
        EXPECT_GT(chosen[int(PngFilter::None)], 0) << width << alpha;
        EXPECT_GT(chosen[int(PngFilter::Sub)], 0) << width << alpha;
        EXPECT_GT(chosen[int(PngFilter::Up)], 0) << width << alpha;
      }
      std::string bytes;
      ASSERT_TRUE(encodePicture(in, ImageFormat::Png, alpha, bytes));
      Picture out;
      std::string error;
      ASSERT_TRUE(readPicture(asBytes(bytes), out, &error)) << error;
      ASSERT_EQ(out.width, width);
      EXPECT_EQ(out.rgba, in.rgba) << width << " " << alpha;
    }
  }
}

TEST(PictureFiles, PngsOfNoiseSpanSeveralDataChunksAndReadBack) {
  // Noise does not compress: 300 x 200 RGBA pixels make about 240 KB of image data, four
  // chunks of at most 64 KiB.
  Picture in{300, 200, std::vector<std::uint8_t>(300 * 200 * 4)};
  std::mt19937 rng(4);
  for (std::uint8_t& b : in.rgba) b = std::uint8_t(rng());
  std::string bytes;
  ASSERT_TRUE(encodePicture(in, ImageFormat::Png, true, bytes));
  EXPECT_GT(bytes.size(), 3u * 65536u);
  std::size_t chunks = 0;
  for (std::size_t at = bytes.find("IDAT"); at != std::string::npos;
       at = bytes.find("IDAT", at + 4)) {
    ++chunks;
  }
  EXPECT_GE(chunks, 4u);
  Picture out;
  std::string error;
  ASSERT_TRUE(readPicture(asBytes(bytes), out, &error)) << error;
  EXPECT_EQ(out.rgba, in.rgba);
}

TEST(PictureFiles, PngsCompressedOnTwoThreadsReadBackTheSame) {
  // 400 x 300 rows of every kind: large enough to be compressed in two halves.
  const Picture rgba = rowsOfEveryKind(400, 300, true);
  std::vector<std::uint32_t> words(rgba.rgba.size() / 4);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::uint8_t* px = &rgba.rgba[4 * i];
    words[i] = std::uint32_t(px[3]) << 24 | std::uint32_t(px[0]) << 16 | px[1] << 8 | px[2];
  }
  for (bool alpha : {false, true}) {
    std::string one, two;
    ASSERT_TRUE(encodePixels(words.data(), 400, 300, ImageFormat::Png, alpha, one, nullptr, 1));
    ASSERT_TRUE(encodePixels(words.data(), 400, 300, ImageFormat::Png, alpha, two, nullptr, 2));
    EXPECT_NE(one, two) << "the halves are compressed apart";
    Picture fromOne, fromTwo;
    ASSERT_TRUE(readPicture(asBytes(one), fromOne));
    ASSERT_TRUE(readPicture(asBytes(two), fromTwo));
    EXPECT_EQ(fromTwo.rgba, fromOne.rgba) << alpha;
    if (alpha) {
      EXPECT_EQ(fromTwo.rgba, rgba.rgba);
    }
  }
}

TEST(PictureFiles, WordsEncodeAsTheSameRgbaBytesDo) {
  const Picture rgba = rowsOfEveryKind(37, 11, true);
  std::vector<std::uint32_t> words(rgba.rgba.size() / 4);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::uint8_t* px = &rgba.rgba[4 * i];
    words[i] = std::uint32_t(px[3]) << 24 | std::uint32_t(px[0]) << 16 | px[1] << 8 | px[2];
  }
  for (ImageFormat f : {ImageFormat::Bmp, ImageFormat::Jpeg, ImageFormat::Tga, ImageFormat::Png}) {
    for (bool alpha : {false, true}) {
      std::string fromWords, fromBytes;
      ASSERT_TRUE(encodePixels(words.data(), 37, 11, f, alpha, fromWords)) << int(f);
      ASSERT_TRUE(encodePicture(rgba, f, alpha, fromBytes)) << int(f);
      EXPECT_EQ(fromWords, fromBytes) << int(f) << " " << alpha;
    }
  }
  std::string none;
  EXPECT_FALSE(encodePixels(nullptr, 37, 11, ImageFormat::Png, false, none));
  EXPECT_FALSE(encodePixels(words.data(), 0, 11, ImageFormat::Png, false, none));
}

}  // namespace
}  // namespace orvane
