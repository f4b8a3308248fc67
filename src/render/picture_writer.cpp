// The picture encoders: BMP and TGA written here, PNG filtered here and compressed with zlib
// (png_encoder.h), JPEG through TurboJPEG from the picture's own memory. Every encoder takes the
// pixels a row at a time, so a large picture costs one row and the file, not a second copy.
#include <turbojpeg.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <memory>
#include <new>
#include <vector>

#include "base/atomic_file.h"
#include "base/failure.h"
#include "render/picture_file.h"
#include "render/png_encoder.h"
#include "render/row_packing.h"

namespace orvane {
namespace {

// The pixels to encode, four bytes each: R, G, B, A of a Picture, or words 0xAARRGGBB.
struct Pixels {
  int width = 0, height = 0;
  const std::uint8_t* rgba = nullptr;
  const std::uint32_t* argb = nullptr;

  // Row y with 3 (R, G, B) or 4 (R, G, B, A) bytes a pixel; `out` has room for 4 bytes more.
  void row(int y, int channels, std::uint8_t* out) const {
    const std::size_t first = std::size_t(y) * std::size_t(width);
    if (rgba) {
      const std::uint8_t* in = rgba + 4 * first;
      if (channels == 4) {
        std::copy_n(in, 4 * std::size_t(width), out);
        return;
      }
      for (int x = 0; x < width; ++x, in += 4, out += 3)
        out[0] = in[0], out[1] = in[1], out[2] = in[2];
      return;
    }
    channels == 4 ? packRgba(argb + first, width, out) : packRgb(argb + first, width, out);
  }
};

void put16(std::string& out, std::uint32_t v) { out += char(v), out += char(v >> 8); }
void put32(std::string& out, std::uint32_t v) { put16(out, v), put16(out, v >> 16); }

// One packed row (3 or 4 bytes a pixel) with its slack, reused for every row.
std::vector<std::uint8_t> rowBuffer(const Pixels& pixels, int channels) {
  return std::vector<std::uint8_t>(std::size_t(pixels.width) * std::size_t(channels) + 4);
}

// 24 bits with a plain header, or 32 bits with a version 4 header whose masks name the alpha
// byte, rows bottom-up.
void encodeBmp(const Pixels& pixels, int channels, std::string& out) {
  const std::uint32_t headerSize = channels == 4 ? 108 : 40;
  const std::uint32_t stride = (std::uint32_t(pixels.width) * channels + 3) / 4 * 4;
  const std::uint32_t dataSize = stride * std::uint32_t(pixels.height);
  out.reserve(14 + headerSize + dataSize);
  out += "BM";
  put32(out, 14 + headerSize + dataSize), put32(out, 0), put32(out, 14 + headerSize);
  put32(out, headerSize), put32(out, std::uint32_t(pixels.width)),
      put32(out, std::uint32_t(pixels.height));
  put16(out, 1), put16(out, std::uint32_t(channels * 8)), put32(out, channels == 4 ? 3 : 0);
  put32(out, dataSize), put32(out, 2835), put32(out, 2835), put32(out, 0), put32(out, 0);
  if (channels == 4) {
    put32(out, 0x00FF0000), put32(out, 0x0000FF00), put32(out, 0x000000FF), put32(out, 0xFF000000);
    put32(out, 0x73524742);  // "sRGB"
    out.append(48, '\0');    // end points and gamma, unused for sRGB
  }
  std::vector<std::uint8_t> line = rowBuffer(pixels, channels);
  for (int y = pixels.height - 1; y >= 0; --y) {
    pixels.row(y, channels, line.data());
    const std::size_t start = out.size();
    for (int x = 0; x < pixels.width; ++x) {
      const std::uint8_t* p = &line[std::size_t(x) * std::size_t(channels)];
      out += char(p[2]), out += char(p[1]), out += char(p[0]);
      if (channels == 4) out += char(p[3]);
    }
    out.resize(start + stride, '\0');
  }
}

// Run-length encoded, 24 or 32 bits, rows bottom-up; packets never run across rows.
void encodeTga(const Pixels& pixels, int channels, std::string& out) {
  out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  put16(out, std::uint32_t(pixels.width)), put16(out, std::uint32_t(pixels.height));
  out += char(channels * 8), out += char(channels == 4 ? 8 : 0);
  std::vector<std::uint8_t> line = rowBuffer(pixels, channels);
  const auto at = [&](int x) { return &line[std::size_t(x) * std::size_t(channels)]; };
  const auto same = [&](int a, int b) { return std::equal(at(a), at(a) + channels, at(b)); };
  const auto pixel = [&](int x) {
    const std::uint8_t* p = at(x);
    out += char(p[2]), out += char(p[1]), out += char(p[0]);
    if (channels == 4) out += char(p[3]);
  };
  const int width = pixels.width;
  for (int y = pixels.height - 1; y >= 0; --y) {
    pixels.row(y, channels, line.data());
    for (int x = 0; x < width;) {
      int run = 1;
      while (x + run < width && run < 128 && same(x, x + run)) ++run;
      if (run > 1) {
        out += char(0x80 | (run - 1));
        pixel(x);
        x += run;
        continue;
      }
      // Plain pixels up to the next pair of equal ones.
      int count = 1;
      while (x + count < width && count < 128 &&
             !(x + count + 1 < width && same(x + count, x + count + 1))) {
        ++count;
      }
      out += char(count - 1);
      for (int k = 0; k < count; ++k) pixel(x + k);
      x += count;
    }
  }
}

bool encodeJpeg(const Pixels& pixels, std::string& out, std::string* error) {
  std::unique_ptr<void, decltype(&tjDestroy)> tj(tjInitCompress(), tjDestroy);
  if (!tj) return fail(error, "out of memory");
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  // Words 0xAARRGGBB are the bytes B, G, R, A in memory on a little-endian machine.
  const bool words = pixels.rgba == nullptr;
  const int format = !words                                       ? TJPF_RGBX
                     : std::endian::native == std::endian::little ? TJPF_BGRX
                                                                  : TJPF_XRGB;
  const auto* bytes = words ? reinterpret_cast<const unsigned char*>(pixels.argb) : pixels.rgba;
  const int rc = tjCompress2(tj.get(), bytes, pixels.width, 0, pixels.height, format, &buffer,
                             &size, TJSAMP_444, 90, 0);
  std::unique_ptr<unsigned char, decltype(&tjFree)> owned(buffer, tjFree);
  if (rc != 0) return fail(error, std::string("JPEG encoder: ") + tjGetErrorStr2(tj.get()));
  out.assign(reinterpret_cast<const char*>(buffer), size);
  return true;
}

bool encode(const Pixels& pixels, ImageFormat format, bool keepAlpha, std::string& bytes,
            std::string* error, int threads = 1) {
  bytes.clear();
  const int channels = keepAlpha ? 4 : 3;
  try {
    switch (format) {
      case ImageFormat::Png:
        return encodePng(
            pixels.width, pixels.height, channels,
            [&](int y, std::uint8_t* out) { pixels.row(y, channels, out); }, bytes, error, threads);
      case ImageFormat::Jpeg:
        return encodeJpeg(pixels, bytes, error);
      case ImageFormat::Bmp:
        encodeBmp(pixels, channels, bytes);
        return true;
      case ImageFormat::Tga:
        encodeTga(pixels, channels, bytes);
        return true;
    }
  } catch (const std::bad_alloc&) {
    bytes.clear();
    return fail(error, "out of memory");
  }
  return fail(error, "unknown picture format");
}

bool sizeOk(int width, int height) {
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

}  // namespace

std::optional<ImageFormat> imageFormatFromPath(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  if (ext == ".bmp") return ImageFormat::Bmp;
  if (ext == ".jpg" || ext == ".jpeg") return ImageFormat::Jpeg;
  if (ext == ".tga") return ImageFormat::Tga;
  if (ext == ".png") return ImageFormat::Png;
  return std::nullopt;
}

bool encodePicture(const Picture& picture, ImageFormat format, bool keepAlpha, std::string& bytes,
                   std::string* error) {
  bytes.clear();
  if (!sizeOk(picture.width, picture.height) ||
      picture.rgba.size() != std::size_t(picture.width) * std::size_t(picture.height) * 4) {
    return fail(error, "no picture to write");
  }
  return encode(Pixels{picture.width, picture.height, picture.rgba.data(), nullptr}, format,
                keepAlpha, bytes, error);
}

bool encodePixels(const std::uint32_t* argb, int width, int height, ImageFormat format,
                  bool keepAlpha, std::string& bytes, std::string* error, int threads) {
  bytes.clear();
  if (!argb || !sizeOk(width, height)) return fail(error, "no picture to write");
  return encode(Pixels{width, height, nullptr, argb}, format, keepAlpha, bytes, error, threads);
}

bool writePictureFile(const std::filesystem::path& path, const Picture& picture, ImageFormat format,
                      bool keepAlpha, std::string* error) {
  std::string bytes;
  if (!encodePicture(picture, format, keepAlpha, bytes, error)) return false;
  return saveFileAtomically(path, bytes, error);
}

}  // namespace orvane
