// Reading pictures as they really are: every row order and depth of BMP and TGA, interlaced PNG,
// CMYK JPEG; files cut short refused before memory is taken for what they claim; and large
// pictures reduced while they are decoded.
#include <gtest/gtest.h>
#include <spng.h>
#include <turbojpeg.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "../support/child_memory.h"
#include "render/picture_file.h"

namespace orvane {
namespace {

using Bytes = std::string;

std::span<const std::uint8_t> asSpan(const Bytes& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}
void put16(Bytes& b, std::uint32_t v) { b += char(v), b += char(v >> 8); }
void put32(Bytes& b, std::uint32_t v) { put16(b, v), put16(b, v >> 16); }

// A 5 x 3 picture of distinct opaque colours; with `alpha`, translucent ones.
Picture sample(bool alpha = false) {
  Picture p{5, 3, {}};
  for (int i = 0; i < 15; ++i) {
    p.rgba.insert(p.rgba.end(), {std::uint8_t(i * 17), std::uint8_t(255 - i * 9),
                                 std::uint8_t(i * i), std::uint8_t(alpha ? 40 + i * 10 : 255)});
  }
  return p;
}
const std::uint8_t* pixel(const Picture& p, int x, int y) {
  return &p.rgba[(std::size_t(y) * p.width + x) * 4];
}

// A BMP with a 40-byte header: 24 bits, or 32 bits with the alpha byte given.
Bytes bmpOf(const Picture& p, int bits, bool topDown, std::uint8_t alpha = 0) {
  const std::uint32_t stride = (std::uint32_t(p.width) * bits + 31) / 32 * 4;
  Bytes b = "BM";
  put32(b, 54 + stride * p.height), put32(b, 0), put32(b, 54), put32(b, 40);
  put32(b, p.width), put32(b, topDown ? -p.height : p.height);
  put16(b, 1), put16(b, bits), put32(b, 0), put32(b, 0);
  for (int i = 0; i < 4; ++i) put32(b, 0);
  for (int r = 0; r < p.height; ++r) {
    const int y = topDown ? r : p.height - 1 - r;
    const std::size_t start = b.size();
    for (int x = 0; x < p.width; ++x) {
      const std::uint8_t* c = pixel(p, x, y);
      b += char(c[2]), b += char(c[1]), b += char(c[0]);
      if (bits == 32) b += char(alpha);
    }
    b.resize(start + stride, '\0');
  }
  return b;
}

// A TGA of the picture: 24-bit true colour, plain or run-length encoded (one packet per pixel
// pair, so packets run across rows), top row first or last.
Bytes tgaOf(const Picture& p, bool runLength, bool topDown) {
  Bytes b = {0, 0, char(runLength ? 10 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  put16(b, p.width), put16(b, p.height);
  b += char(24), b += char(topDown ? 0x20 : 0);
  std::vector<const std::uint8_t*> order;
  for (int r = 0; r < p.height; ++r) {
    for (int x = 0; x < p.width; ++x) order.push_back(pixel(p, x, topDown ? r : p.height - 1 - r));
  }
  for (std::size_t i = 0; i < order.size(); i += runLength ? 2 : 1) {
    const std::size_t n = std::min<std::size_t>(runLength ? 2 : 1, order.size() - i);
    if (runLength) b += char(n - 1);
    for (std::size_t k = 0; k < n; ++k) {
      b += char(order[i + k][2]), b += char(order[i + k][1]), b += char(order[i + k][0]);
    }
  }
  return b;
}

Picture read(const Bytes& bytes, int reduceToSide = 0) {
  Picture out;
  std::string error;
  EXPECT_TRUE(readPicture(asSpan(bytes), out, &error, reduceToSide)) << error;
  return out;
}
std::string refusal(const Bytes& bytes) {
  Picture out;
  std::string error;
  EXPECT_FALSE(readPicture(asSpan(bytes), out, &error));
  EXPECT_TRUE(out.rgba.empty());
  return error;
}

std::uint32_t crc32(std::string_view data) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (char c : data) {
    crc ^= std::uint8_t(c);
    for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
  }
  return ~crc;
}

// A PNG of the picture, interlaced or not, made by the codec itself.
Bytes pngOf(const Picture& p, bool interlaced) {
  std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(SPNG_CTX_ENCODER),
                                                          spng_ctx_free);
  spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
  spng_ihdr ihdr{};
  ihdr.width = std::uint32_t(p.width), ihdr.height = std::uint32_t(p.height);
  ihdr.bit_depth = 8, ihdr.color_type = SPNG_COLOR_TYPE_TRUECOLOR_ALPHA;
  ihdr.interlace_method = interlaced ? SPNG_INTERLACE_ADAM7 : SPNG_INTERLACE_NONE;
  spng_set_ihdr(ctx.get(), &ihdr);
  EXPECT_EQ(spng_encode_image(ctx.get(), p.rgba.data(), p.rgba.size(), SPNG_FMT_PNG,
                              SPNG_ENCODE_FINALIZE),
            0);
  std::size_t size = 0;
  int rc = 0;
  std::unique_ptr<void, decltype(&std::free)> buffer(spng_get_png_buffer(ctx.get(), &size, &rc),
                                                     std::free);
  return Bytes(static_cast<const char*>(buffer.get()), size);
}

// A square grey picture of `side` as a JPEG and as a PNG, made quickly.
Bytes greyJpeg(const std::vector<std::uint8_t>& grey, int side) {
  std::unique_ptr<void, decltype(&tjDestroy)> tj(tjInitCompress(), tjDestroy);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  EXPECT_EQ(
      tjCompress2(tj.get(), grey.data(), side, 0, side, TJPF_GRAY, &out, &size, TJSAMP_GRAY, 80, 0),
      0);
  Bytes bytes(reinterpret_cast<char*>(out), size);
  tjFree(out);
  return bytes;
}
Bytes greyPng(const std::vector<std::uint8_t>& grey, int side) {
  std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(SPNG_CTX_ENCODER),
                                                          spng_ctx_free);
  spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
  spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 1);
  spng_ihdr ihdr{};
  ihdr.width = ihdr.height = std::uint32_t(side);
  ihdr.bit_depth = 8, ihdr.color_type = SPNG_COLOR_TYPE_GRAYSCALE;
  spng_set_ihdr(ctx.get(), &ihdr);
  EXPECT_EQ(
      spng_encode_image(ctx.get(), grey.data(), grey.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE),
      0);
  std::size_t size = 0;
  int rc = 0;
  std::unique_ptr<void, decltype(&std::free)> buffer(spng_get_png_buffer(ctx.get(), &size, &rc),
                                                     std::free);
  return Bytes(static_cast<const char*>(buffer.get()), size);
}

// The bytes with a JPEG's frame header (or a PNG's IHDR, its checksum made right) claiming
// width x height.
Bytes claiming(Bytes bytes, std::uint32_t width, std::uint32_t height) {
  auto be = [&](std::size_t at, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = char(v >> (8 * (size - 1 - i)));
  };
  if (bytes[0] == '\x89') {
    be(16, width, 4), be(20, height, 4);
    be(29, crc32(std::string_view(bytes).substr(12, 17)), 4);
  } else {
    const std::size_t frame = bytes.find("\xFF\xC0");
    be(frame + 5, height, 2), be(frame + 7, width, 2);
  }
  return bytes;
}

TEST(PictureReading, BmpRowsInEitherOrderAndEveryDepthReadAlike) {
  const Picture p = sample();
  EXPECT_EQ(read(bmpOf(p, 24, false)).rgba, p.rgba);
  const Picture topDown = read(bmpOf(p, 24, true));
  EXPECT_EQ(topDown.height, 3);
  EXPECT_EQ(topDown.rgba, p.rgba);
  // A 32-bit picture whose fourth bytes are all 0 is opaque; otherwise they are its alpha.
  EXPECT_EQ(read(bmpOf(p, 32, false, 0)).rgba, p.rgba);
  EXPECT_EQ(read(bmpOf(p, 32, true, 77)).rgba[3], 77);

  // 4 bits through a palette of three colours; index 15 lies beyond it and is black.
  Bytes b = "BM";
  put32(b, 0), put32(b, 0), put32(b, 54 + 12), put32(b, 40), put32(b, 3), put32(b, 1);
  put16(b, 1), put16(b, 4), put32(b, 0), put32(b, 0), put32(b, 0), put32(b, 0), put32(b, 3);
  put32(b, 0);
  put32(b, 0x0000FF), put32(b, 0x00FF00), put32(b, 0xFF0000);
  b += "\x21\xF0";  // indices 2, 1, 15
  b.resize(b.size() + 2, '\0');
  const Picture indexed = read(b);
  const std::vector<std::uint8_t> expected = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 255};
  EXPECT_EQ(indexed.rgba, expected);
}

TEST(PictureReading, TgaRowsInEitherOrderPlainOrRunLengthReadAlike) {
  const Picture p = sample();
  for (bool runLength : {false, true}) {
    for (bool topDown : {false, true}) {
      EXPECT_EQ(read(tgaOf(p, runLength, topDown)).rgba, p.rgba) << runLength << topDown;
    }
  }
}

TEST(PictureReading, InterlacedPngReadsAsThePlainOne) {
  const Picture p = sample(true);
  EXPECT_EQ(read(pngOf(p, true)).rgba, p.rgba);
  EXPECT_EQ(read(pngOf(p, false)).rgba, p.rgba);
}

TEST(PictureReading, CmykAndYcckJpegsAreReadThroughTheirInks) {
  // Inverted CMYK as such files hold it: 255 is no ink. Red is full magenta and yellow.
  const std::uint8_t inks[4 * 4] = {255, 0,   0,   255, 255, 255, 255, 255,
                                    255, 255, 255, 128, 0,   255, 255, 255};
  std::vector<std::uint8_t> wide;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const std::uint8_t* ink = &inks[4 * (x / 8 + 2 * (y / 8))];
      wide.insert(wide.end(), ink, ink + 4);
    }
  }
  std::unique_ptr<void, decltype(&tjDestroy)> tj(tjInitCompress(), tjDestroy);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  ASSERT_EQ(
      tjCompress2(tj.get(), wide.data(), 16, 0, 16, TJPF_CMYK, &out, &size, TJSAMP_444, 95, 0), 0);
  Bytes ycck(reinterpret_cast<char*>(out), size);
  tjFree(out);
  // The same data marked plain CMYK (Adobe's transform 0 instead of 2) reads as well.
  Bytes cmyk = ycck;
  const std::size_t adobe = cmyk.find("Adobe");
  ASSERT_NE(adobe, std::string::npos);
  ASSERT_EQ(cmyk[adobe + 11], 2);
  cmyk[adobe + 11] = 0;
  const Picture fromYcck = read(ycck), fromCmyk = read(cmyk);
  ASSERT_EQ(fromYcck.width, 16);
  ASSERT_EQ(fromCmyk.width, 16);
  const std::uint8_t expected[4][3] = {
      {255, 0, 0}, {255, 255, 255}, {128, 128, 128}, {0, 255, 255}};
  for (int q = 0; q < 4; ++q) {
    const std::uint8_t* got = pixel(fromYcck, 4 + 8 * (q % 2), 4 + 8 * (q / 2));
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], expected[q][c], 6) << q << c;
    EXPECT_EQ(got[3], 255);
  }
}

TEST(PictureReading, FilesCutShortAreRefusedWithTheirFormatNamed) {
  const Picture p = sample();
  const Bytes bmp = bmpOf(p, 24, false);
  EXPECT_EQ(refusal(bmp.substr(0, bmp.size() - 10)), "damaged BMP: file cut short");
  for (bool runLength : {false, true}) {
    const Bytes tga = tgaOf(p, runLength, false);
    EXPECT_EQ(refusal(tga.substr(0, tga.size() - 2)), "damaged TGA: file cut short");
  }
  Bytes jpeg;
  ASSERT_TRUE(encodePicture(p, ImageFormat::Jpeg, false, jpeg));
  EXPECT_EQ(refusal(jpeg.substr(0, 10)), "damaged JPEG: file cut short");
  EXPECT_EQ(refusal(claiming(jpeg, 16384, 16384)), "damaged JPEG: file cut short");
  EXPECT_EQ(refusal(claiming(pngOf(p, false), 16384, 16384)), "damaged PNG: file cut short");
  EXPECT_EQ(refusal("\0\0\2\0\0\0\0\0\0\0\0\0"), "not a BMP, JPEG, TGA or PNG picture");
}

// What the hostile files of the kind above cost: nothing like what they claim.
TEST(PictureReading, ClaimsAFileCannotHoldTakeNoMemory) {
  Bytes bmp = bmpOf(sample(), 24, false);
  bmp.replace(18, 8, "\0\x40\0\0\0\x40\0\0", 8);  // 16384 x 16384
  bmp.resize(1024, '\0');
  Bytes tga = tgaOf(sample(), true, false);
  tga.replace(12, 4, "\0\x40\0\x40", 4);
  Bytes jpeg;
  ASSERT_TRUE(encodePicture(sample(), ImageFormat::Jpeg, false, jpeg));
  for (const Bytes& hostile :
       {bmp, tga, claiming(jpeg, 16384, 16384), claiming(pngOf(sample(), false), 16384, 16384)}) {
    EXPECT_LT(peakMegabytesOfChild([&] {
                Picture out;
                return !readPicture(asSpan(hostile), out);
              }),
              16);
  }
}

TEST(PictureReading, LargePicturesAreReducedWhileDecoding) {
  // 130 x 70 with a reduction to 64: factor 3, 44 x 24 pixels, the last column and row of
  // pixels standing for fewer. Alpha weighs the colours.
  Picture p{130, 70, std::vector<std::uint8_t>(130 * 70 * 4, 0)};
  for (int y = 0; y < 70; ++y) {
    for (int x = 0; x < 130; ++x) {
      std::uint8_t* px = &p.rgba[(std::size_t(y) * 130 + x) * 4];
      px[0] = x % 3 == 0 ? 240 : 30;
      px[3] = x % 3 == 0 ? 255 : (x % 3 == 1 ? 0 : 85);
    }
  }
  const Picture reduced = read(pngOf(p, true), 64);
  ASSERT_EQ(reduced.width, 44);
  ASSERT_EQ(reduced.height, 24);
  const std::uint8_t* first = pixel(reduced, 0, 0);
  EXPECT_EQ(first[0], (240 * 255 + 30 * 85 + 170) / 340);
  EXPECT_EQ(first[3], (255 + 0 + 85 + 1) / 3);
  EXPECT_EQ(pixel(reduced, 43, 23)[0], 240);  // column 129 alone, of 2 rows
  EXPECT_EQ(pixel(reduced, 43, 23)[3], 255);

  // A 4096 x 4096 picture read for a side of 512 never takes its whole size in memory.
  const std::vector<std::uint8_t> grey(std::size_t(4096) * 4096, 200);
  const Bytes files[] = {greyJpeg(grey, 4096), greyPng(grey, 4096)};
  for (const Bytes& file : files) {
    EXPECT_LT(peakMegabytesOfChild([&] {
                Picture out;
                return readPicture(asSpan(file), out, nullptr, 512) && out.width == 512 &&
                       out.height == 512 && out.rgba[0] >= 198 && out.rgba[0] <= 202;
              }),
              24);
  }
}

// The picture fuzzer's seeds: the hostile ones are refused, the others read, in every build.
TEST(PictureReading, FuzzSeedsAreReadOrRefusedAsNamed) {
  const std::filesystem::path corpus =
      std::filesystem::path(ORVANE_SOURCE_DIR) / "tests/fuzz/corpus/picture";
  int seeds = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    const std::string name = entry.path().filename().string();
    Picture out;
    std::string error;
    const bool hostile = name.starts_with("huge-claim") || name.starts_with("cut-short") ||
                         name.starts_with("ten-bytes");
    EXPECT_EQ(readPictureFile(entry.path(), out, &error), !hostile) << name << ": " << error;
    if (hostile) {
      EXPECT_NE(error.find("file cut short"), std::string::npos) << name;
    }
    ++seeds;
  }
  EXPECT_GE(seeds, 20);
}

}  // namespace
}  // namespace orvane
