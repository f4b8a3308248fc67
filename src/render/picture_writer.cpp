#include <turbojpeg.h>

#include <algorithm>
#include <bit>
#include <cctype>
#include <memory>

#include "base/atomic_file.h"
#include "base/failure.h"
#include "render/picture_file.h"
#include "render/png_encoder.h"
#include "render/row_packing.h"

#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

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
  // All rows, packed.
  std::vector<std::uint8_t> packed(int channels) const {
    std::vector<std::uint8_t> out(std::size_t(width) * std::size_t(height) * std::size_t(channels) +
                                  4);
    for (int y = 0; y < height; ++y) {
      row(y, channels, out.data() + std::size_t(y) * std::size_t(width) * std::size_t(channels));
    }
    return out;
  }
};

void appendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), std::size_t(size));
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
  switch (format) {
    case ImageFormat::Png:
      return encodePng(
          pixels.width, pixels.height, channels,
          [&](int y, std::uint8_t* out) { pixels.row(y, channels, out); }, bytes, error, threads);
    case ImageFormat::Jpeg:
      return encodeJpeg(pixels, bytes, error);
    case ImageFormat::Bmp:
    case ImageFormat::Tga: {
      const std::vector<std::uint8_t> packed = pixels.packed(channels);
      const int ok = format == ImageFormat::Bmp
                         ? stbi_write_bmp_to_func(appendBytes, &bytes, pixels.width, pixels.height,
                                                  channels, packed.data())
                         : stbi_write_tga_to_func(appendBytes, &bytes, pixels.width, pixels.height,
                                                  channels, packed.data());
      if (!ok) return fail(error, "picture encoder failed");
      return true;
    }
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
      picture.rgba.size() != std::size_t(picture.width) * picture.height * 4) {
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
