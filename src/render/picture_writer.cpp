// The picture encoders: BMP and TGA written here, PNG through libspng a row at a time, JPEG
// through TurboJPEG from the picture's own memory.
#include <spng.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <new>
#include <vector>

#include "base/atomic_file.h"
#include "base/failure.h"
#include "render/picture_encoding.h"

namespace orvane {
namespace {

void put16(std::string& out, std::uint32_t v) { out += char(v), out += char(v >> 8); }
void put32(std::string& out, std::uint32_t v) { put16(out, v), put16(out, v >> 16); }

// 24 bits with a plain header, or 32 bits with a version 4 header whose masks name the alpha
// byte, rows bottom-up.
void encodeBmp(const PixelRows& rows, int channels, std::string& out) {
  const std::uint32_t headerSize = channels == 4 ? 108 : 40;
  const std::uint32_t stride = (std::uint32_t(rows.width) * channels + 3) / 4 * 4;
  const std::uint32_t dataSize = stride * std::uint32_t(rows.height);
  out.reserve(14 + headerSize + dataSize);
  out += "BM";
  put32(out, 14 + headerSize + dataSize), put32(out, 0), put32(out, 14 + headerSize);
  put32(out, headerSize), put32(out, std::uint32_t(rows.width)),
      put32(out, std::uint32_t(rows.height));
  put16(out, 1), put16(out, std::uint32_t(channels * 8)), put32(out, channels == 4 ? 3 : 0);
  put32(out, dataSize), put32(out, 2835), put32(out, 2835), put32(out, 0), put32(out, 0);
  if (channels == 4) {
    put32(out, 0x00FF0000), put32(out, 0x0000FF00), put32(out, 0x000000FF), put32(out, 0xFF000000);
    put32(out, 0x73524742);  // "sRGB"
    out.append(48, '\0');    // end points and gamma, unused for sRGB
  }
  std::vector<std::uint8_t> rgba(std::size_t(rows.width) * 4);
  for (int y = rows.height - 1; y >= 0; --y) {
    rows.fetch(y, rgba.data());
    const std::size_t start = out.size();
    for (int x = 0; x < rows.width; ++x) {
      const std::uint8_t* p = &rgba[std::size_t(x) * 4];
      out += char(p[2]), out += char(p[1]), out += char(p[0]);
      if (channels == 4) out += char(p[3]);
    }
    out.resize(start + stride, '\0');
  }
}

// Run-length encoded, 24 or 32 bits, rows bottom-up; packets never run across rows.
void encodeTga(const PixelRows& rows, int channels, std::string& out) {
  out = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  put16(out, std::uint32_t(rows.width)), put16(out, std::uint32_t(rows.height));
  out += char(channels * 8), out += char(channels == 4 ? 8 : 0);
  std::vector<std::uint8_t> rgba(std::size_t(rows.width) * 4);
  auto same = [&](int a, int b) {
    return std::equal(&rgba[std::size_t(a) * 4], &rgba[std::size_t(a) * 4] + channels,
                      &rgba[std::size_t(b) * 4]);
  };
  auto pixel = [&](int x) {
    const std::uint8_t* p = &rgba[std::size_t(x) * 4];
    out += char(p[2]), out += char(p[1]), out += char(p[0]);
    if (channels == 4) out += char(p[3]);
  };
  for (int y = rows.height - 1; y >= 0; --y) {
    rows.fetch(y, rgba.data());
    for (int x = 0; x < rows.width;) {
      int run = 1;
      while (x + run < rows.width && run < 128 && same(x, x + run)) ++run;
      if (run > 1) {
        out += char(0x80 | (run - 1));
        pixel(x);
        x += run;
        continue;
      }
      // Plain pixels up to the next pair of equal ones.
      int count = 1;
      while (x + count < rows.width && count < 128 &&
             !(x + count + 1 < rows.width && same(x + count, x + count + 1))) {
        ++count;
      }
      out += char(count - 1);
      for (int k = 0; k < count; ++k) pixel(x + k);
      x += count;
    }
  }
}

bool encodePng(const PixelRows& rows, int channels, std::string& out, std::string* error) {
  std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(SPNG_CTX_ENCODER),
                                                          spng_ctx_free);
  if (!ctx) return fail(error, "out of memory");
  spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
  // A fast setting: the editor's pictures are large flat areas that compress well anyway.
  spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 2);
  spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_SUB);
  spng_ihdr ihdr{};
  ihdr.width = std::uint32_t(rows.width);
  ihdr.height = std::uint32_t(rows.height);
  ihdr.bit_depth = 8;
  ihdr.color_type = channels == 4 ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
  int rc = spng_set_ihdr(ctx.get(), &ihdr);
  if (rc == 0) {
    rc = spng_encode_image(ctx.get(), nullptr, 0, SPNG_FMT_PNG,
                           SPNG_ENCODE_PROGRESSIVE | SPNG_ENCODE_FINALIZE);
  }
  std::vector<std::uint8_t> rgba(std::size_t(rows.width) * 4);
  std::vector<std::uint8_t> line(std::size_t(rows.width) * std::size_t(channels));
  for (int y = 0; rc == 0 && y < rows.height; ++y) {
    rows.fetch(y, rgba.data());
    for (int x = 0; x < rows.width; ++x) {
      std::copy_n(&rgba[std::size_t(x) * 4], channels, &line[std::size_t(x * channels)]);
    }
    rc = spng_encode_row(ctx.get(), line.data(), line.size());
    if (rc == SPNG_EOI && y + 1 == rows.height) rc = 0;
  }
  if (rc != 0) return fail(error, std::string("PNG encoder: ") + spng_strerror(rc));
  std::size_t size = 0;
  std::unique_ptr<void, decltype(&std::free)> buffer(spng_get_png_buffer(ctx.get(), &size, &rc),
                                                     std::free);
  if (!buffer) return fail(error, std::string("PNG encoder: ") + spng_strerror(rc));
  out.assign(static_cast<const char*>(buffer.get()), size);
  return true;
}

bool encodeJpeg(const PixelRows& rows, std::string& out, std::string* error) {
  std::unique_ptr<void, decltype(&tjDestroy)> tj(tjInitCompress(), tjDestroy);
  if (!tj) return fail(error, "out of memory");
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const int rc = tjCompress2(tj.get(), rows.block, rows.width, 0, rows.height, rows.blockFormat,
                             &buffer, &size, TJSAMP_444, 90, 0);
  std::unique_ptr<unsigned char, decltype(&tjFree)> owned(buffer, tjFree);
  if (rc != 0) return fail(error, std::string("JPEG encoder: ") + tjGetErrorStr2(tj.get()));
  out.assign(reinterpret_cast<const char*>(buffer), size);
  return true;
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

bool encodeRows(const PixelRows& rows, ImageFormat format, bool keepAlpha, std::string& bytes,
                std::string* error) {
  bytes.clear();
  if (rows.width < 1 || rows.height < 1 || rows.width > kMaxPictureSide ||
      rows.height > kMaxPictureSide) {
    return fail(error, "no picture to write");
  }
  const int channels = keepAlpha ? 4 : 3;
  try {
    switch (format) {
      case ImageFormat::Png:
        return encodePng(rows, channels, bytes, error);
      case ImageFormat::Jpeg:
        return encodeJpeg(rows, bytes, error);
      case ImageFormat::Bmp:
        encodeBmp(rows, channels, bytes);
        return true;
      case ImageFormat::Tga:
        encodeTga(rows, channels, bytes);
        return true;
    }
  } catch (const std::bad_alloc&) {
    bytes.clear();
    return fail(error, "out of memory");
  }
  return fail(error, "unknown picture format");
}

bool encodePicture(const Picture& picture, ImageFormat format, bool keepAlpha, std::string& bytes,
                   std::string* error) {
  if (picture.rgba.size() != std::size_t(picture.width) * std::size_t(picture.height) * 4) {
    bytes.clear();
    return fail(error, "no picture to write");
  }
  PixelRows rows;
  rows.width = picture.width;
  rows.height = picture.height;
  rows.fetch = [&picture](int y, std::uint8_t* rgba) {
    const std::size_t length = std::size_t(picture.width) * 4;
    std::copy_n(picture.rgba.data() + std::size_t(y) * length, length, rgba);
  };
  rows.block = picture.rgba.data();
  rows.blockFormat = TJPF_RGBX;  // JPEG files have no alpha
  return encodeRows(rows, format, keepAlpha, bytes, error);
}

bool writePictureFile(const std::filesystem::path& path, const Picture& picture, ImageFormat format,
                      bool keepAlpha, std::string* error) {
  std::string bytes;
  if (!encodePicture(picture, format, keepAlpha, bytes, error)) return false;
  return saveFileAtomically(path, bytes, error);
}

}  // namespace orvane
