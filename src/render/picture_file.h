#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Picture file types the program writes; the values are the export's format codes.
enum class ImageFormat : std::int32_t { Bmp = 0, Jpeg = 1, Tga = 2, Png = 3 };

// Pictures wider or taller than this are refused before any pixel memory is taken.
inline constexpr int kMaxPictureSide = 16384;

// A picture in memory: width x height pixels, rows top to bottom, 4 bytes R, G, B, A each.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

// The format a file name asks for by its extension (.bmp, .jpg or .jpeg, .tga, .png, in any
// case); nothing for other names.
std::optional<ImageFormat> imageFormatFromPath(const std::filesystem::path& path);

// Reads a BMP, JPEG, TGA or PNG picture (told apart by content; TGA, which has no signature, by
// a header that makes sense). False with a reason for anything else, for a side above
// kMaxPictureSide and for a damaged file: one that cannot hold the pixels its header announces
// is refused before any memory is taken for them ("damaged PNG: file cut short"). Pictures
// without alpha read as opaque. Callers that need only a small picture give reduceToSide: a
// larger picture is then reduced while it is decoded, by the smallest whole factor that brings
// both sides within it (at least 64), each pixel the mean of those it stands for; so memory
// follows the reduced size, not the size the file claims.
bool readPicture(std::span<const std::uint8_t> bytes, Picture& picture,
                 std::string* error = nullptr, int reduceToSide = 0);
bool readPictureFile(const std::filesystem::path& path, Picture& picture,
                     std::string* error = nullptr, int reduceToSide = 0);

// Encodes a picture: BMP (24-bit, or 32-bit with alpha), JPEG (quality 90, no chroma
// subsampling, always without alpha), TGA (run-length encoded, 24 or 32 bits) or PNG (8-bit
// RGB or RGBA). With keepAlpha false the alpha bytes are ignored and the file has none.
bool encodePicture(const Picture& picture, ImageFormat format, bool keepAlpha, std::string& bytes,
                   std::string* error = nullptr);
// The same for a picture kept as the renderer keeps it: width x height words 0xAARRGGBB, rows
// top to bottom, no padding; the words are read where they are. With `threads` 2 a large PNG
// is compressed on two threads (its bytes then differ, its pixels do not).
bool encodePixels(const std::uint32_t* argb, int width, int height, ImageFormat format,
                  bool keepAlpha, std::string& bytes, std::string* error = nullptr,
                  int threads = 1);
// Encodes and saves atomically (saveFileAtomically): an existing file is replaced only by a
// complete new one.
bool writePictureFile(const std::filesystem::path& path, const Picture& picture, ImageFormat format,
                      bool keepAlpha, std::string* error = nullptr);

}  // namespace orvane
