#include <algorithm>
#include <cstring>

#include "base/atomic_file.h"
#include "tools/randomart/dna_file.h"
#include "tools/randomart/random_art_worker.h"
#include "tools/randomart/target_picture.h"

namespace orvane {
namespace {

// Reads little-endian words from [at, end) of the file; every read is checked.
class Cursor {
 public:
  Cursor(std::span<const std::uint8_t> bytes, std::size_t at) : bytes_(bytes), at_(at) {}
  // Ends the readable part at `end` (kept inside the file).
  void limit(std::size_t end) { bytes_ = bytes_.first(std::min(end, bytes_.size())); }
  bool word(std::int32_t& value) {
    if (remaining() < 4) return false;
    const std::uint8_t* p = bytes_.data() + at_;
    value = std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                         std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
    at_ += 4;
    return true;
  }
  std::size_t remaining() const { return at_ < bytes_.size() ? bytes_.size() - at_ : 0; }
  const std::uint8_t* here() const { return bytes_.data() + at_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_;
};

void readGenome(Cursor& in, Genome& genome) {
  std::int32_t count = 0;
  if (!in.word(count)) return;
  const std::size_t present = in.remaining() / sizeof(Gene);
  const std::int32_t kept = std::int32_t(
      std::min<std::size_t>(std::size_t(std::clamp(count, 0, kMaxGeneCount)), present));
  std::memcpy(genome.genes.data(), in.here(), std::size_t(kept) * sizeof(Gene));
  genome.count = kept;
}

void readPicture(Cursor& in, RandomArtState& state) {
  std::int32_t width = 0, height = 0;
  if (!in.word(width) || !in.word(height)) return;
  if (width < 1 || height < 1 || width > kMaxDnaPictureSide || height > kMaxDnaPictureSide) return;
  const std::size_t size = std::size_t(width) * std::size_t(height) * 4;
  if (in.remaining() < size) return;
  if (width == kFieldWidth && height == kFieldHeight) {
    state.targetPixels.resize(kFieldPixels);
    std::memcpy(state.targetPixels.data(), in.here(), size);
    for (std::uint32_t& pixel : state.targetPixels) pixel |= 0xFF000000u;
    return;
  }
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.rgba.resize(size);
  const std::uint8_t* p = in.here();
  for (std::size_t i = 0; i < size; i += 4) {
    picture.rgba[i] = p[i + 2], picture.rgba[i + 1] = p[i + 1], picture.rgba[i + 2] = p[i];
    picture.rgba[i + 3] = 255;
  }
  makeTargetPixels(picture, state.targetPixels);
}

void readParameters(Cursor& in, RandomArtState& state) {
  std::int32_t n = 0;
  if (!in.word(n)) return;
  for (std::int32_t k = 0; k < n; ++k) {
    std::int32_t index = 0, value = 0;
    if (!in.word(index) || !in.word(value)) return;
    if (std::uint32_t(index) < std::uint32_t(kParameterCount)) {
      state.parameters.set(index, clampParameter(index, value));
    }
  }
}

void readInfo(Cursor& in, RandomArtState& state) {
  std::int32_t width = 0, height = 0, autoExport = 0, showProcessing = 0;
  if (!in.word(width) || !in.word(height)) return;
  state.width = std::clamp(width, 1, kMaxDnaEmblemSide);
  state.height = std::clamp(height, 1, kMaxDnaEmblemSide);
  if (!in.word(autoExport) || !in.word(showProcessing)) return;
  state.autoExport.store(autoExport != 0);
  state.showProcessing.store(showProcessing != 0);
}

}  // namespace

bool readDna(std::span<const std::uint8_t> bytes, RandomArtState& state) {
  state.targetPixels.clear();
  if (bytes.size() < 8) return false;
  std::size_t pos = 0;
  for (;;) {
    Cursor in(bytes, pos);
    std::int32_t tagWord = 0, next = 0;
    if (!in.word(tagWord) || !in.word(next)) break;
    char tag[4];
    std::memcpy(tag, bytes.data() + pos, 4);
    // A chunk's payload ends where the next chunk starts (the last one runs to the end).
    if (next > 0) in.limit(pos + std::size_t(next));
    if (std::memcmp(tag, "IMG\0", 4) == 0) {
      readPicture(in, state);
    } else if (std::memcmp(tag, "GEN\0", 4) == 0) {
      readGenome(in, state.candidate);
    } else if (std::memcmp(tag, "BEST", 4) == 0) {
      readGenome(in, state.best);
      // The file keeps the evolution's state: its best genome goes on a white ground.
      state.bestBackdrop = GenomeBackdrop::White;
    } else if (std::memcmp(tag, "PARA", 4) == 0) {
      readParameters(in, state);
    } else if (std::memcmp(tag, "INFO", 4) == 0) {
      readInfo(in, state);
    }
    // Only forward and inside the file, so the walk always ends.
    if (next <= 0 || std::size_t(next) >= bytes.size() - pos) break;
    pos += std::size_t(next);
  }
  return true;
}

bool importDnaFile(const std::filesystem::path& path, RandomArtState& state,
                   RandomArtWorker* worker, std::string* error) {
  std::string bytes;
  constexpr std::size_t kMaxDnaFileBytes = 256u << 20;
  if (!readWholeFile(path, bytes, kMaxDnaFileBytes, error)) return false;
  {
    ScopedPause pause(worker);
    readDna({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, state);
  }
  state.dnaPath = path.string();
  return true;
}

}  // namespace orvane
