#include <algorithm>
#include <new>

#include "base/atomic_file.h"
#include "base/failure.h"
#include "render/picture_decoders.h"
#include "render/picture_file.h"

namespace orvane {
namespace {

bool startsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> head) {
  return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}

bool decode(std::span<const std::uint8_t> bytes, PictureBuilder& builder, std::string* error) {
  if (startsWith(bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) {
    return decodePng(bytes, builder, error);
  }
  if (startsWith(bytes, {0xFF, 0xD8, 0xFF})) return decodeJpeg(bytes, builder, error);
  if (startsWith(bytes, {'B', 'M'})) return decodeBmp(bytes, builder, error);
  if (looksLikeTga(bytes)) return decodeTga(bytes, builder, error);
  return fail(error, "not a BMP, JPEG, TGA or PNG picture");
}

}  // namespace

bool pictureSizeAccepted(long long width, long long height, std::string* error) {
  if (width < 1 || height < 1) return fail(error, "picture has no pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide) {
    return fail(error, "picture larger than 16384 x 16384");
  }
  return true;
}

bool readPicture(std::span<const std::uint8_t> bytes, Picture& picture, std::string* error,
                 int reduceToSide) {
  picture = {};
  PictureBuilder builder(reduceToSide);
  try {
    if (!decode(bytes, builder, error)) return false;
  } catch (const std::bad_alloc&) {
    return fail(error, "out of memory");
  }
  picture = builder.finish();
  return true;
}

bool readPictureFile(const std::filesystem::path& path, Picture& picture, std::string* error,
                     int reduceToSide) {
  std::string bytes;
  // The largest picture accepted, uncompressed, with room for headers.
  const std::size_t maxBytes = std::size_t(kMaxPictureSide) * kMaxPictureSide * 4 + (1u << 20);
  if (!readWholeFile(path, bytes, maxBytes, error)) return false;
  return readPicture({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, picture,
                     error, reduceToSide);
}

}  // namespace orvane
