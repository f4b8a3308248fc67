// Picture files: every format round trips, sizes are refused before memory is taken, damaged
// input is refused, and writing is atomic.
#include "render/picture_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace orvane {
namespace {

Picture testPicture(int w, int h, bool withAlpha) {
  Picture p{w, h, std::vector<std::uint8_t>(std::size_t(w) * h * 4)};
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint8_t* px = &p.rgba[(std::size_t(y) * w + x) * 4];
      px[0] = std::uint8_t(x * 255 / w), px[1] = std::uint8_t(y * 255 / h);
      px[2] = std::uint8_t(128 + x - y), px[3] = withAlpha ? std::uint8_t(x * 20) : 0xFF;
    }
  }
  return p;
}

std::span<const std::uint8_t> asBytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

int maxDifference(const Picture& a, const Picture& b) {
  int worst = 0;
  for (std::size_t i = 0; i < a.rgba.size(); ++i)
    worst = std::max(worst, std::abs(a.rgba[i] - b.rgba[i]));
  return worst;
}

TEST(PictureFiles, EveryFormatRoundTripsThroughMemory) {
  const Picture opaque = testPicture(13, 7, false), translucent = testPicture(13, 7, true);
  for (ImageFormat f : {ImageFormat::Bmp, ImageFormat::Jpeg, ImageFormat::Tga, ImageFormat::Png}) {
    for (bool alpha : {false, true}) {
      const Picture& in = alpha ? translucent : opaque;
      std::string bytes;
      ASSERT_TRUE(encodePicture(in, f, alpha, bytes)) << int(f);
      Picture out;
      std::string error;
      ASSERT_TRUE(readPicture(asBytes(bytes), out, &error)) << int(f) << error;
      ASSERT_EQ(out.width, 13);
      ASSERT_EQ(out.height, 7);
      if (f == ImageFormat::Jpeg) {
        EXPECT_LE(maxDifference(opaque, out), 12);  // lossy, and never with alpha
      } else {
        EXPECT_EQ(out.rgba, in.rgba) << int(f) << alpha;
      }
    }
  }
  std::string png;
  ASSERT_TRUE(encodePicture(translucent, ImageFormat::Png, false, png));
  Picture out;
  ASSERT_TRUE(readPicture(asBytes(png), out));
  EXPECT_EQ(out.rgba[3 + 4 * 5], 0xFF);  // alpha left out on request
}

// Patches width and height into a file made for a small picture.
std::string withClaimedSize(std::string bytes, ImageFormat f, std::uint32_t w, std::uint32_t h) {
  auto put32le = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = char(v >> (8 * i));
  };
  auto put16 = [&](std::size_t at, std::uint32_t v, bool big) {
    bytes[at + (big ? 1 : 0)] = char(v), bytes[at + (big ? 0 : 1)] = char(v >> 8);
  };
  switch (f) {
    case ImageFormat::Bmp:
      put32le(18, w), put32le(22, h);
      break;
    case ImageFormat::Tga:
      put16(12, w, false), put16(14, h, false);
      break;
    case ImageFormat::Png:  // IHDR width and height, big-endian (the CRC is then wrong too)
      for (int i = 0; i < 4; ++i) bytes[16 + i] = char(w >> (24 - 8 * i));
      for (int i = 0; i < 4; ++i) bytes[20 + i] = char(h >> (24 - 8 * i));
      break;
    case ImageFormat::Jpeg: {
      const std::size_t sof = bytes.find("\xFF\xC0");
      put16(sof + 5, h, true), put16(sof + 7, w, true);
      break;
    }
  }
  return bytes;
}

TEST(PictureFiles, HugeOrDamagedPicturesAreRefused) {
  const Picture small = testPicture(4, 4, false);
  for (ImageFormat f : {ImageFormat::Bmp, ImageFormat::Jpeg, ImageFormat::Tga, ImageFormat::Png}) {
    std::string bytes;
    ASSERT_TRUE(encodePicture(small, f, false, bytes));
    Picture out;
    std::string error;
    EXPECT_FALSE(readPicture(asBytes(withClaimedSize(bytes, f, 20000, 4)), out, &error)) << int(f);
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(out.rgba.empty());
    EXPECT_FALSE(readPicture(asBytes(bytes.substr(0, bytes.size() / 2)), out))
        << "format " << int(f);
  }
  Picture out;
  EXPECT_FALSE(readPicture(asBytes("this is no picture at all"), out));
  EXPECT_FALSE(readPicture({}, out));
  std::string bytes;
  EXPECT_FALSE(encodePicture(Picture{}, ImageFormat::Png, false, bytes));
}

TEST(PictureFiles, FilesAreWrittenWholeAndNamedByExtension) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("orvane_pictures_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const Picture p = testPicture(5, 3, false);
  ASSERT_TRUE(writePictureFile(dir / "a.tga", p, ImageFormat::Tga, false));
  Picture back;
  ASSERT_TRUE(readPictureFile(dir / "a.tga", back));
  EXPECT_EQ(back.rgba, p.rgba);
  std::string error;
  EXPECT_FALSE(writePictureFile(dir / "missing" / "a.png", p, ImageFormat::Png, false, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(readPictureFile(dir / "none.png", back));
  std::filesystem::remove_all(dir);

  EXPECT_EQ(imageFormatFromPath("x/Emblem.JPEG"), ImageFormat::Jpeg);
  EXPECT_EQ(imageFormatFromPath("a.Png"), ImageFormat::Png);
  EXPECT_EQ(imageFormatFromPath("png"), std::nullopt);
}

}  // namespace
}  // namespace orvane
