#include "render/png_encoder.h"

#include <zlib.h>

#include <algorithm>
#include <thread>
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

// The rows of a picture filtered for the file, one after another from a first row: the filter
// byte, then the row filtered.
class FilteredRows {
 public:
  FilteredRows(int width, int channels, const std::function<void(int, std::uint8_t*)>& row,
               int first)
      : channels_(channels),
        length_(std::size_t(width) * std::size_t(channels)),
        row_(row),
        // Two rows, each after one pixel of zeros (the pixel left of the first) and before 4
        // spare bytes; the row above the first row of the picture is zeros too.
        rows_(2 * (std::size_t(channels) + length_ + 4), 0),
        filtered_(1 + length_),
        above_(rows_.data() + channels),
        current_(above_ + length_ + 4 + channels),
        next_(first) {
    if (first > 0) row_(first - 1, above_);
  }
  const std::vector<std::uint8_t>& next() {
    row_(next_++, current_);
    const PngFilter filter = choosePngFilter(current_, above_, length_, channels_);
    filtered_[0] = std::uint8_t(filter);
    applyPngFilter(filter, current_, above_, length_, channels_, filtered_.data() + 1);
    std::swap(current_, above_);
    return filtered_;
  }

 private:
  int channels_;
  std::size_t length_;
  const std::function<void(int, std::uint8_t*)>& row_;
  std::vector<std::uint8_t> rows_, filtered_;
  std::uint8_t* above_;
  std::uint8_t* current_;
  int next_;
};

// Rows [first, end) compressed as raw deflate data: ended with an empty stored block (so that
// the next part's data can follow it) unless it is the last part, and with the rows before
// `first` (up to the 32 KiB window) as the dictionary, so that the parts compress as one stream
// would.
struct Part {
  int first = 0, end = 0;
  bool last = false;
  std::string bytes;
  uLong adler = 1;  // adler32 of the filtered rows
  uLong length = 0;
  bool done = false;
};

void compress(int width, int channels, const std::function<void(int, std::uint8_t*)>& row,
              Part& part) {
  z_stream z{};
  if (deflateInit2(&z, 2, Z_DEFLATED, -15, 8, Z_FILTERED) != Z_OK) return;
  constexpr std::size_t kWindow = 32768;
  const std::size_t rowBytes = 1 + std::size_t(width) * std::size_t(channels);
  const int before = std::min(part.first, int((kWindow + rowBytes - 1) / rowBytes));
  FilteredRows rows(width, channels, row, part.first - before);
  if (before > 0) {
    std::vector<std::uint8_t> dictionary;
    for (int i = 0; i < before; ++i) {
      const std::vector<std::uint8_t>& f = rows.next();
      dictionary.insert(dictionary.end(), f.begin(), f.end());
    }
    const std::size_t size = std::min(dictionary.size(), kWindow);
    deflateSetDictionary(&z, dictionary.data() + (dictionary.size() - size), uInt(size));
  }
  std::uint8_t buffer[65536];
  bool ok = true;
  for (int y = part.first; ok && y < part.end; ++y) {
    const std::vector<std::uint8_t>& f = rows.next();
    part.adler = adler32(part.adler, f.data(), uInt(f.size()));
    part.length += uLong(f.size());
    const int flush = y + 1 < part.end ? Z_NO_FLUSH : part.last ? Z_FINISH : Z_SYNC_FLUSH;
    z.next_in = const_cast<Bytef*>(f.data());
    z.avail_in = uInt(f.size());
    do {
      z.next_out = buffer;
      z.avail_out = sizeof buffer;
      const int rc = deflate(&z, flush);
      ok = rc == Z_OK || rc == Z_STREAM_END || rc == Z_BUF_ERROR;
      part.bytes.append(reinterpret_cast<const char*>(buffer), sizeof buffer - z.avail_out);
    } while (ok && z.avail_out == 0);
  }
  deflateEnd(&z);
  part.done = ok;
}

}  // namespace

bool encodePng(int width, int height, int channels,
               const std::function<void(int, std::uint8_t*)>& row, std::string& out,
               std::string* error, int threads) {
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

  // Large pictures in two halves, the second on a thread of its own.
  constexpr std::size_t kWorthTwoThreads = 256 * 1024;
  const bool split = threads > 1 && height > 1 && length * std::size_t(height) >= kWorthTwoThreads;
  Part parts[2];
  parts[0].end = split ? height / 2 : height;
  parts[0].last = !split;
  if (split) {
    parts[1].first = height / 2, parts[1].end = height, parts[1].last = true;
    std::thread second([&] { compress(width, channels, row, parts[1]); });
    compress(width, channels, row, parts[0]);
    second.join();
  } else {
    compress(width, channels, row, parts[0]);
  }
  if (!parts[0].done || (split && !parts[1].done)) {
    return fail(error, "PNG encoder: compression failed");
  }
  // The zlib stream: its header (deflate, 32 KiB window, a fast level), the parts, and the
  // adler32 of all the filtered rows.
  std::string stream = "\x78\x5E" + parts[0].bytes;
  uLong adler = parts[0].adler;
  if (split) {
    stream += parts[1].bytes;
    adler = adler32_combine(adler, parts[1].adler, z_off_t(parts[1].length));
  }
  stream.append(4, '\0');
  putBigEndian(stream, stream.size() - 4, std::uint32_t(adler));
  for (std::size_t at = 0; at < stream.size(); at += kChunkData) {
    const std::size_t size = std::min(kChunkData, stream.size() - at);
    start = out.size();
    openChunk(out, "IDAT");
    out.append(stream, at, size);
    closeChunk(out, start, size);
  }
  start = out.size();
  openChunk(out, "IEND");
  closeChunk(out, start, 0);
  return true;
}

}  // namespace orvane
