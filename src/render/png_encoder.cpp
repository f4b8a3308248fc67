#include "render/png_encoder.h"

#include <zlib.h>

#include <vector>

#include "base/failure.h"
#include "render/png_filters.h"

namespace orvane {
namespace {

constexpr std::size_t kChunkData = 65536;

void putBigEndian(std::string& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + std::size_t(i)] = char(value >> (24 - 8 * i));
}

// A chunk whose type and data are the last 4 + length bytes of `out`, after 4 bytes kept for its
// length: fills the length in and appends the CRC of type and data.
void closeChunk(std::string& out, std::size_t start, std::size_t length) {
  putBigEndian(out, start, std::uint32_t(length));
  const auto* typeAndData = reinterpret_cast<const Bytef*>(out.data() + start + 4);
  const auto crc = std::uint32_t(crc32(crc32(0, nullptr, 0), typeAndData, uInt(length + 4)));
  out.append(4, '\0');
  putBigEndian(out, out.size() - 4, crc);
}

void openChunk(std::string& out, const char (&type)[5]) {
  out.append(4, '\0');
  out.append(type, 4);
}

// Compressed image data, appended to `out` in IDAT chunks as deflate makes it.
class ImageData {
 public:
  explicit ImageData(std::string& out) : out_(out) {}
  ~ImageData() {
    if (started_) deflateEnd(&z_);
  }
  bool start() {
    started_ = deflateInit2(&z_, 2, Z_DEFLATED, 15, 8, Z_FILTERED) == Z_OK;
    return started_;
  }
  // Compresses the bytes; `finish` ends the stream and closes the last chunk.
  bool add(const std::uint8_t* bytes, std::size_t size, bool finish) {
    z_.next_in = const_cast<Bytef*>(bytes);
    z_.avail_in = uInt(size);
    for (;;) {
      if (chunkStart_ == std::string::npos) {
        chunkStart_ = out_.size();
        openChunk(out_, "IDAT");
        out_.resize(out_.size() + kChunkData);
        z_.next_out = reinterpret_cast<Bytef*>(out_.data() + chunkStart_ + 8);
        z_.avail_out = uInt(kChunkData);
      }
      const int rc = deflate(&z_, finish ? Z_FINISH : Z_NO_FLUSH);
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return false;
      if (z_.avail_out == 0 || rc == Z_STREAM_END) {
        const std::size_t length = kChunkData - z_.avail_out;
        out_.resize(chunkStart_ + 8 + length);
        closeChunk(out_, chunkStart_, length);
        chunkStart_ = std::string::npos;
      }
      if (rc == Z_STREAM_END) return true;
      if (!finish && z_.avail_in == 0) return true;
    }
  }

 private:
  std::string& out_;
  z_stream z_{};
  bool started_ = false;
  std::size_t chunkStart_ = std::string::npos;
};

}  // namespace

bool encodePng(int width, int height, int channels,
               const std::function<void(int, std::uint8_t*)>& row, std::string& out,
               std::string* error) {
  const std::size_t length = std::size_t(width) * std::size_t(channels);
  out.reserve(out.size() + length * std::size_t(height) / 8 + 256);
  out.append("\x89PNG\r\n\x1a\n", 8);
  // IHDR: width, height, bit depth 8, colour type 2 (RGB) or 6 (RGBA), deflate, adaptive
  // filtering, no interlacing.
  std::size_t start = out.size();
  openChunk(out, "IHDR");
  out.append(8, '\0');
  putBigEndian(out, out.size() - 8, std::uint32_t(width));
  putBigEndian(out, out.size() - 4, std::uint32_t(height));
  out.append({char(8), char(channels == 4 ? 6 : 2), char(0), char(0), char(0)});
  closeChunk(out, start, 13);

  ImageData data(out);
  if (!data.start()) return fail(error, "PNG encoder: out of memory");
  // Two rows, each after one pixel of zeros (the pixel left of the first) and before 4 spare
  // bytes; the row above the first is zeros too. The filtered row starts with its filter.
  const std::size_t left = std::size_t(channels), room = left + length + 4;
  std::vector<std::uint8_t> rows(2 * room, 0), filtered(1 + length);
  std::uint8_t* above = rows.data() + left;
  std::uint8_t* current = above + room;
  for (int y = 0; y < height; ++y) {
    row(y, current);
    const PngFilter filter = choosePngFilter(current, above, length, channels);
    filtered[0] = std::uint8_t(filter);
    applyPngFilter(filter, current, above, length, channels, filtered.data() + 1);
    if (!data.add(filtered.data(), filtered.size(), y == height - 1)) {
      return fail(error, "PNG encoder: compression failed");
    }
    std::swap(current, above);
  }
  start = out.size();
  openChunk(out, "IEND");
  closeChunk(out, start, 0);
  return true;
}

}  // namespace orvane
