#include <spng.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "base/atomic_file.h"
#include "base/failure.h"
#include "render/picture_file.h"

#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

namespace orvane {
namespace {

// The picture's bytes with 3 or 4 channels.
std::vector<std::uint8_t> packedChannels(const Picture& picture, int channels) {
  if (channels == 4) return picture.rgba;
  const std::size_t count = std::size_t(picture.width) * picture.height;
  std::vector<std::uint8_t> rgb(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    std::copy_n(picture.rgba.begin() + std::ptrdiff_t(4 * i), 3,
                rgb.begin() + std::ptrdiff_t(3 * i));
  }
  return rgb;
}

void appendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data), std::size_t(size));
}

bool encodePng(const Picture& picture, int channels, std::string& out, std::string* error) {
  std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(SPNG_CTX_ENCODER),
                                                          spng_ctx_free);
  if (!ctx) return fail(error, "out of memory");
  spng_set_option(ctx.get(), SPNG_ENCODE_TO_BUFFER, 1);
  // A fast setting: the editor's pictures are large flat areas that compress well anyway.
  spng_set_option(ctx.get(), SPNG_IMG_COMPRESSION_LEVEL, 2);
  spng_set_option(ctx.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_SUB);
  spng_ihdr ihdr{};
  ihdr.width = std::uint32_t(picture.width);
  ihdr.height = std::uint32_t(picture.height);
  ihdr.bit_depth = 8;
  ihdr.color_type = channels == 4 ? SPNG_COLOR_TYPE_TRUECOLOR_ALPHA : SPNG_COLOR_TYPE_TRUECOLOR;
  int rc = spng_set_ihdr(ctx.get(), &ihdr);
  const std::vector<std::uint8_t> pixels = packedChannels(picture, channels);
  if (rc == 0) {
    rc = spng_encode_image(ctx.get(), pixels.data(), pixels.size(), SPNG_FMT_PNG,
                           SPNG_ENCODE_FINALIZE);
  }
  if (rc != 0) return fail(error, std::string("PNG encoder: ") + spng_strerror(rc));
  std::size_t size = 0;
  std::unique_ptr<void, decltype(&std::free)> buffer(spng_get_png_buffer(ctx.get(), &size, &rc),
                                                     std::free);
  if (!buffer) return fail(error, std::string("PNG encoder: ") + spng_strerror(rc));
  out.assign(static_cast<const char*>(buffer.get()), size);
  return true;
}

bool encodeJpeg(const Picture& picture, std::string& out, std::string* error) {
  std::unique_ptr<void, decltype(&tjDestroy)> tj(tjInitCompress(), tjDestroy);
  if (!tj) return fail(error, "out of memory");
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  const int rc = tjCompress2(tj.get(), picture.rgba.data(), picture.width, 0, picture.height,
                             TJPF_RGBX, &buffer, &size, TJSAMP_444, 90, 0);
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

bool encodePicture(const Picture& picture, ImageFormat format, bool keepAlpha, std::string& bytes,
                   std::string* error) {
  bytes.clear();
  if (picture.width < 1 || picture.height < 1 || picture.width > kMaxPictureSide ||
      picture.height > kMaxPictureSide ||
      picture.rgba.size() != std::size_t(picture.width) * picture.height * 4) {
    return fail(error, "no picture to write");
  }
  const int channels = keepAlpha ? 4 : 3;
  switch (format) {
    case ImageFormat::Png:
      return encodePng(picture, channels, bytes, error);
    case ImageFormat::Jpeg:
      return encodeJpeg(picture, bytes, error);
    case ImageFormat::Bmp:
    case ImageFormat::Tga: {
      const std::vector<std::uint8_t> pixels = packedChannels(picture, channels);
      const int ok = format == ImageFormat::Bmp
                         ? stbi_write_bmp_to_func(appendBytes, &bytes, picture.width,
                                                  picture.height, channels, pixels.data())
                         : stbi_write_tga_to_func(appendBytes, &bytes, picture.width,
                                                  picture.height, channels, pixels.data());
      if (!ok) return fail(error, "picture encoder failed");
      return true;
    }
  }
  return fail(error, "unknown picture format");
}

bool writePictureFile(const std::filesystem::path& path, const Picture& picture, ImageFormat format,
                      bool keepAlpha, std::string* error) {
  std::string bytes;
  if (!encodePicture(picture, format, keepAlpha, bytes, error)) return false;
  return saveFileAtomically(path, bytes, error);
}

}  // namespace orvane
