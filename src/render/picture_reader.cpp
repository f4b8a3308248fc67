#include <spng.h>
#include <turbojpeg.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "base/atomic_file.h"
#include "base/failure.h"
#include "render/picture_file.h"

#define STBI_NO_STDIO
#include <stb/stb_image.h>

namespace orvane {
namespace {

bool sizeAccepted(long long width, long long height, std::string* error) {
  if (width < 1 || height < 1) return fail(error, "picture has no pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide) {
    return fail(error, "picture larger than 16384 x 16384");
  }
  return true;
}

bool startsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> head) {
  return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}

bool readPng(std::span<const std::uint8_t> bytes, Picture& out, std::string* error) {
  std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(0), spng_ctx_free);
  if (!ctx) return fail(error, "out of memory");
  spng_set_image_limits(ctx.get(), kMaxPictureSide, kMaxPictureSide);
  spng_set_chunk_limits(ctx.get(), std::size_t{64} << 20, std::size_t{64} << 20);
  int rc = spng_set_png_buffer(ctx.get(), bytes.data(), bytes.size());
  spng_ihdr ihdr{};
  if (rc == 0) rc = spng_get_ihdr(ctx.get(), &ihdr);
  if (rc != 0) return fail(error, std::string("not a readable PNG: ") + spng_strerror(rc));
  if (!sizeAccepted(ihdr.width, ihdr.height, error)) return false;
  std::size_t size = 0;
  rc = spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &size);
  if (rc != 0) return fail(error, std::string("damaged PNG: ") + spng_strerror(rc));
  std::vector<std::uint8_t> rgba(size);
  rc = spng_decode_image(ctx.get(), rgba.data(), rgba.size(), SPNG_FMT_RGBA8, SPNG_DECODE_TRNS);
  if (rc != 0) return fail(error, std::string("damaged PNG: ") + spng_strerror(rc));
  out = {int(ihdr.width), int(ihdr.height), std::move(rgba)};
  return true;
}

bool readJpeg(std::span<const std::uint8_t> bytes, Picture& out, std::string* error) {
  std::unique_ptr<void, decltype(&tjDestroy)> tj(tjInitDecompress(), tjDestroy);
  if (!tj) return fail(error, "out of memory");
  if (bytes.size() > ULONG_MAX) return fail(error, "JPEG too large");
  int width = 0, height = 0, subsampling = 0, colourspace = 0;
  auto* data = const_cast<unsigned char*>(bytes.data());
  if (tjDecompressHeader3(tj.get(), data, bytes.size(), &width, &height, &subsampling,
                          &colourspace) != 0) {
    return fail(error, std::string("not a readable JPEG: ") + tjGetErrorStr2(tj.get()));
  }
  if (!sizeAccepted(width, height, error)) return false;
  std::vector<std::uint8_t> rgba(std::size_t(width) * height * 4);
  if (tjDecompress2(tj.get(), data, bytes.size(), rgba.data(), width, 0, height, TJPF_RGBA, 0) !=
      0) {
    return fail(error, std::string("damaged JPEG: ") + tjGetErrorStr2(tj.get()));
  }
  for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 0xFF;
  out = {width, height, std::move(rgba)};
  return true;
}

// Whether a TGA file holds all the pixels its header announces (the decoder would quietly pad a
// cut file with zeros): the raw data, or the run-length packets, must reach width x height.
bool tgaIsComplete(std::span<const std::uint8_t> b) {
  if (b.size() < 18) return false;
  auto u16 = [&](std::size_t at) { return std::size_t(b[at] | (b[at + 1] << 8)); };
  const std::size_t pixels = u16(12) * u16(14);
  const std::size_t pixelBytes = (std::size_t(b[16]) + 7) / 8;
  std::size_t at = 18 + b[0] + (b[1] ? u16(5) * ((std::size_t(b[7]) + 7) / 8) : 0);
  if (b[2] < 8) return at + pixels * pixelBytes <= b.size();
  for (std::size_t done = 0; done < pixels;) {
    if (at >= b.size()) return false;
    const std::size_t count = (b[at] & 0x7F) + 1;
    at += 1 + (b[at] & 0x80 ? 1 : count) * pixelBytes;
    done += count;
  }
  return at <= b.size();
}

// BMP and TGA.
bool readWithStb(std::span<const std::uint8_t> bytes, Picture& out, const char* kind,
                 std::string* error) {
  if (bytes.size() > std::size_t(INT_MAX)) return fail(error, "file too large");
  const int length = int(bytes.size());
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &channels)) {
    return fail(error, std::string("not a readable ") + kind + " picture");
  }
  if (!sizeAccepted(width, height, error)) return false;
  if (std::string_view(kind) == "TGA" && !tgaIsComplete(bytes)) {
    return fail(error, "damaged TGA: file cut short");
  }
  std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> pixels(
      stbi_load_from_memory(bytes.data(), length, &width, &height, &channels, 4), stbi_image_free);
  if (!pixels) return fail(error, std::string("damaged ") + kind + ": " + stbi_failure_reason());
  const std::size_t size = std::size_t(width) * height * 4;
  out = {width, height, std::vector<std::uint8_t>(pixels.get(), pixels.get() + size)};
  return true;
}

}  // namespace

bool readPicture(std::span<const std::uint8_t> bytes, Picture& picture, std::string* error) {
  picture = {};
  if (startsWith(bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) {
    return readPng(bytes, picture, error);
  }
  if (startsWith(bytes, {0xFF, 0xD8, 0xFF})) return readJpeg(bytes, picture, error);
  if (startsWith(bytes, {'B', 'M'})) return readWithStb(bytes, picture, "BMP", error);
  if (readWithStb(bytes, picture, "TGA", nullptr)) return true;
  return fail(error, "not a BMP, JPEG, TGA or PNG picture");
}

bool readPictureFile(const std::filesystem::path& path, Picture& picture, std::string* error) {
  std::string bytes;
  // The largest picture accepted, uncompressed, with room for headers.
  const std::size_t maxBytes = std::size_t(kMaxPictureSide) * kMaxPictureSide * 4 + (1u << 20);
  if (!readWholeFile(path, bytes, maxBytes, error)) return false;
  return readPicture({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, picture,
                     error);
}

}  // namespace orvane
