// JPEG files through TurboJPEG: grey, colour, and CMYK or YCCK (taken as CMYK and converted,
// with the inverted ink values such files carry). Pictures meant to be reduced are decoded at
// a fraction of their size (down to an eighth) by the codec itself.
#include <turbojpeg.h>

#include <climits>
#include <memory>
#include <new>
#include <vector>

#include "base/failure.h"
#include "render/picture_decoders.h"

namespace orvane {
namespace {

// The decoder keeps every coefficient of a progressive (or otherwise multi-scan) file until the
// last scan: 128 bytes per block of 8 x 8 samples. Files that would need more are refused.
constexpr std::uint64_t kMaxCoefficientBytes = std::uint64_t{512} << 20;

bool damaged(std::string* error, const std::string& why) {
  return fail(error, "damaged JPEG: " + why);
}

// What the markers before and between the scans tell.
struct JpegLayout {
  int width = 0, height = 0;
  bool frame = false;
  bool progressive = false, arithmetic = false, unsupported = false;
  int scans = 0;
  std::uint64_t blocks = 0;        // blocks of all components, as the data must code them
  std::uint64_t paddedBlocks = 0;  // the same padded to whole MCUs, as the decoder keeps them
  std::uint64_t entropyBytes = 0;  // bytes of coded data after the scan headers
};

void readFrame(std::span<const std::uint8_t> segment, std::uint8_t marker, JpegLayout& l) {
  l.frame = true;
  l.height = int(be16(segment, 1)), l.width = int(be16(segment, 3));
  l.progressive = marker == 0xC2 || marker == 0xCA;
  l.arithmetic = marker >= 0xC9;
  // Lossless and hierarchical frames: TurboJPEG reads neither.
  l.unsupported = marker == 0xC3 || (marker >= 0xC5 && marker <= 0xC7) || marker >= 0xCB;
  const std::size_t count = std::min<std::size_t>(segment[5], (segment.size() - 6) / 3);
  int hMax = 1, vMax = 1;
  for (std::size_t c = 0; c < count; ++c) {
    hMax = std::max(hMax, segment[7 + 3 * c] >> 4);
    vMax = std::max(vMax, segment[7 + 3 * c] & 15);
  }
  const std::uint64_t w = std::uint64_t(l.width), h = std::uint64_t(l.height);
  const std::uint64_t mcuColumns = (w + 8 * hMax - 1) / (8 * hMax);
  const std::uint64_t mcuRows = (h + 8 * vMax - 1) / (8 * vMax);
  for (std::size_t c = 0; c < count; ++c) {
    const int hs = std::max(1, segment[7 + 3 * c] >> 4), vs = std::max(1, segment[7 + 3 * c] & 15);
    const std::uint64_t cw = (w * hs + hMax - 1) / hMax, ch = (h * vs + vMax - 1) / vMax;
    l.blocks += (cw + 7) / 8 * ((ch + 7) / 8);
    l.paddedBlocks += mcuColumns * hs * mcuRows * vs;
  }
}

// Walks the markers from the start to the end of the file, or to the first one that is cut
// short; false with a reason for a file that is not laid out as JPEG.
bool readLayout(std::span<const std::uint8_t> b, JpegLayout& l, std::string* error) {
  std::size_t at = 2;
  while (at < b.size()) {
    if (b[at] != 0xFF) return damaged(error, "no marker where one belongs");
    while (at < b.size() && b[at] == 0xFF) ++at;  // fill bytes
    if (at >= b.size()) break;
    const std::uint8_t marker = b[at++];
    if (marker == 0xD9) return true;                                     // end of image
    if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) continue;  // no length
    if (at + 2 > b.size()) break;
    const std::size_t length = be16(b, at);
    if (length < 2) return damaged(error, "a marker segment of no length");
    if (at + length > b.size()) break;
    const std::span<const std::uint8_t> segment = b.subspan(at + 2, length - 2);
    const bool isFrame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (isFrame) {
      if (segment.size() < 6) return damaged(error, "a frame header cut short");
      readFrame(segment, marker, l);
    }
    at += length;
    if (marker != 0xDA) continue;
    // A scan: its coded data runs to the next marker other than a restart.
    ++l.scans;
    const std::size_t start = at;
    while (at + 1 < b.size() &&
           !(b[at] == 0xFF && b[at + 1] != 0 && (b[at + 1] < 0xD0 || b[at + 1] > 0xD7))) {
      ++at;
    }
    if (at + 1 >= b.size()) at = b.size();
    l.entropyBytes += at - start;
  }
  if (!l.frame) return damaged(error, "file cut short");
  return true;
}

// The smallest scaling the codec offers that keeps the larger side at least `side` (1 when
// `side` is 0 or the picture is small already).
tjscalingfactor scalingFor(int width, int height, int side) {
  tjscalingfactor best{1, 1};
  if (side <= 0) return best;
  int count = 0;
  const tjscalingfactor* factors = tjGetScalingFactors(&count);
  for (int i = 0; i < count; ++i) {
    const tjscalingfactor f = factors[i];
    if (f.num > f.denom) continue;
    const int larger = std::max(TJSCALED(width, f), TJSCALED(height, f));
    if (larger >= side && larger < std::max(TJSCALED(width, best), TJSCALED(height, best))) {
      best = f;
    }
  }
  return best;
}

// Inverted CMYK, as Adobe's files and the codec give it: red = cyan x black / 255, and so on.
void cmykToRgba(std::uint8_t* pixels, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    std::uint8_t* p = pixels + 4 * i;
    const unsigned k = p[3];
    for (int c = 0; c < 3; ++c) p[c] = std::uint8_t((p[c] * k + 127) / 255);
    p[3] = 0xFF;
  }
}

}  // namespace

bool decodeJpeg(std::span<const std::uint8_t> b, PictureBuilder& out, std::string* error) {
  JpegLayout layout;
  if (!readLayout(b, layout, error)) return false;
  if (layout.unsupported) return fail(error, "unsupported JPEG (lossless or hierarchical)");
  if (!pictureSizeAccepted(layout.width, layout.height, error)) return false;
  // Huffman coding spends at least one bit on every block; arithmetic coding may spend less.
  if (!layout.arithmetic && layout.entropyBytes * 8 < layout.blocks) {
    return damaged(error, "file cut short");
  }
  if ((layout.progressive || layout.scans > 1) &&
      layout.paddedBlocks * 128 > kMaxCoefficientBytes) {
    return fail(error, "progressive JPEG too large to decode");
  }
  if (b.size() > ULONG_MAX) return fail(error, "JPEG too large");

  std::unique_ptr<void, decltype(&tjDestroy)> tj(tjInitDecompress(), tjDestroy);
  if (!tj) return fail(error, "out of memory");
  auto* data = const_cast<unsigned char*>(b.data());
  int width = 0, height = 0, subsampling = 0, colourspace = 0;
  if (tjDecompressHeader3(tj.get(), data, b.size(), &width, &height, &subsampling, &colourspace) !=
      0) {
    return damaged(error, tjGetErrorStr2(tj.get()));
  }
  if (!pictureSizeAccepted(width, height, error)) return false;
  const tjscalingfactor scaling = scalingFor(width, height, out.reducedSide());
  const int scaledWidth = TJSCALED(width, scaling), scaledHeight = TJSCALED(height, scaling);
  const bool cmyk = colourspace == TJCS_CMYK || colourspace == TJCS_YCCK;

  if (!out.start(scaledWidth, scaledHeight, error)) return false;
  std::vector<std::uint8_t> decoded;
  std::uint8_t* pixels = out.directPixels();
  if (!pixels) {
    try {
      decoded.resize(std::size_t(scaledWidth) * std::size_t(scaledHeight) * 4);
    } catch (const std::bad_alloc&) {
      return fail(error, "out of memory");
    }
    pixels = decoded.data();
  }
  if (tjDecompress2(tj.get(), data, b.size(), pixels, scaledWidth, 0, scaledHeight,
                    cmyk ? TJPF_CMYK : TJPF_RGBA, 0) != 0) {
    return damaged(error, tjGetErrorStr2(tj.get()));
  }
  const std::size_t count = std::size_t(scaledWidth) * std::size_t(scaledHeight);
  if (cmyk) {
    cmykToRgba(pixels, count);
  } else {
    for (std::size_t i = 0; i < count; ++i) pixels[4 * i + 3] = 0xFF;
  }
  if (!decoded.empty()) {
    for (int y = 0; y < scaledHeight; ++y) {
      out.row(y, &decoded[std::size_t(y) * std::size_t(scaledWidth) * 4]);
    }
  }
  return true;
}

}  // namespace orvane
