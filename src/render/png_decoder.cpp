// PNG files through libspng, decoded a row at a time (interlaced ones pass by pass) straight
// into the picture builder, so a large picture never needs its full size in memory.
#include <spng.h>

#include <memory>
#include <vector>

#include "base/failure.h"
#include "render/picture_decoders.h"

namespace orvane {
namespace {

// Deflate never makes more than 1032 bytes of one: a file whose image data could not unpack
// to the pixels its header announces is cut short (or lies), whatever the rest says.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

// The bytes of every IDAT chunk, as far as the file holds them.
std::uint64_t imageDataBytes(std::span<const std::uint8_t> b) {
  std::uint64_t total = 0;
  for (std::size_t at = 8; at + 8 <= b.size();) {
    const std::uint64_t length = be32(b, at);
    const bool idat = b[at + 4] == 'I' && b[at + 5] == 'D' && b[at + 6] == 'A' && b[at + 7] == 'T';
    const std::uint64_t present = std::min<std::uint64_t>(length, b.size() - at - 8);
    if (idat) total += present;
    if (present < length) break;
    at += 12 + std::size_t(length);
  }
  return total;
}

int bitsPerPixel(const spng_ihdr& ihdr) {
  const int channels[] = {1, 0, 3, 1, 2, 0, 4};  // by colour type 0, 2, 3, 4, 6
  return ihdr.color_type <= 6 ? channels[ihdr.color_type] * ihdr.bit_depth : 0;
}

// Where the pixels of each interlace pass start and how far apart they are.
constexpr int kPassFirstColumn[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr int kPassColumnStep[7] = {8, 8, 4, 4, 2, 2, 1};

}  // namespace

bool decodePng(std::span<const std::uint8_t> b, PictureBuilder& out, std::string* error) {
  std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> ctx(spng_ctx_new(0), spng_ctx_free);
  if (!ctx) return fail(error, "out of memory");
  spng_set_image_limits(ctx.get(), kMaxPictureSide, kMaxPictureSide);
  spng_set_chunk_limits(ctx.get(), std::size_t{64} << 20, std::size_t{64} << 20);
  int rc = spng_set_png_buffer(ctx.get(), b.data(), b.size());
  spng_ihdr ihdr{};
  if (rc == 0) rc = spng_get_ihdr(ctx.get(), &ihdr);
  if (rc != 0) return fail(error, std::string("not a readable PNG: ") + spng_strerror(rc));
  if (!pictureSizeAccepted(ihdr.width, ihdr.height, error)) return false;
  const std::uint64_t pixelBytes =
      (std::uint64_t(ihdr.width) * ihdr.height * std::uint64_t(bitsPerPixel(ihdr)) + 7) / 8;
  if (imageDataBytes(b) * kMaxDeflateRatio < pixelBytes) {
    return fail(error, "damaged PNG: file cut short");
  }
  rc = spng_decode_image(ctx.get(), nullptr, 0, SPNG_FMT_RGBA8,
                         SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE);
  if (rc != 0) return fail(error, std::string("damaged PNG: ") + spng_strerror(rc));
  if (!out.start(int(ihdr.width), int(ihdr.height), error)) return false;
  std::vector<std::uint8_t> row(std::size_t(ihdr.width) * 4);
  const int width = int(ihdr.width);
  for (;;) {
    spng_row_info info{};
    rc = spng_get_row_info(ctx.get(), &info);
    if (rc == SPNG_EOI) return true;
    // The last row comes with SPNG_EOI.
    if (rc == 0) rc = spng_decode_row(ctx.get(), row.data(), row.size());
    if (rc != 0 && rc != SPNG_EOI) {
      return fail(error, std::string("damaged PNG: ") + spng_strerror(rc));
    }
    if (ihdr.interlace_method == 0) {
      out.row(int(info.row_num), row.data());
    } else {
      // The pass's pixels stand where they belong in the row; the others are left over.
      const int first = kPassFirstColumn[info.pass], step = kPassColumnStep[info.pass];
      for (int x = first; x < width; x += step) {
        out.pixels(int(info.row_num), x, step, &row[std::size_t(x) * 4], 1);
      }
    }
    if (rc == SPNG_EOI) return true;
  }
}

}  // namespace orvane
