#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "render/picture_builder.h"

namespace orvane {

// The decoders behind readPicture, one per format. Each checks, before it asks for any pixel
// memory, that the file can hold the pixels its header announces (a file cut short is refused
// rather than padded), then hands the pixels to the builder. False with a reason.
bool decodeBmp(std::span<const std::uint8_t> bytes, PictureBuilder& out, std::string* error);
bool decodeTga(std::span<const std::uint8_t> bytes, PictureBuilder& out, std::string* error);
bool decodePng(std::span<const std::uint8_t> bytes, PictureBuilder& out, std::string* error);
bool decodeJpeg(std::span<const std::uint8_t> bytes, PictureBuilder& out, std::string* error);

// Whether the bytes start like a TGA file, which has no signature: a known image type with a
// pixel depth and colour map that go with it.
bool looksLikeTga(std::span<const std::uint8_t> bytes);

// "picture has no pixels" or "picture larger than 16384 x 16384" when a side is out of range.
bool pictureSizeAccepted(long long width, long long height, std::string* error);

// Little-endian reads from a span whose size the caller has checked.
inline std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8;
}
inline std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
  return le16(b, at) | le16(b, at + 2) << 16;
}
inline std::uint32_t be16(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t(b[at]) << 8 | std::uint32_t(b[at + 1]);
}
inline std::uint32_t be32(std::span<const std::uint8_t> b, std::size_t at) {
  return be16(b, at) << 16 | be16(b, at + 2);
}

}  // namespace orvane
