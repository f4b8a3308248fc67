#include "base/atomic_file.h"
#include "tools/randomart/dna_file.h"
#include "tools/randomart/random_art_worker.h"

namespace orvane {
namespace {

class ChunkWriter {
 public:
  // Starts a chunk at the next multiple of 16 and links the chunk before it to it.
  void begin(const char (&tag)[5]) {
    const std::size_t start = (bytes_.size() + kDnaAlignment - 1) / kDnaAlignment * kDnaAlignment;
    bytes_.resize(start, '\0');
    if (hasPrevious_) patch(previous_ + 4, std::uint32_t(start - previous_));
    previous_ = start;
    hasPrevious_ = true;
    bytes_.append(tag, 4);
    word(0);
  }
  void word(std::int32_t value) {
    const std::uint32_t v = std::uint32_t(value);
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    bytes_.append(b, 4);
  }
  void raw(const void* data, std::size_t size) {
    bytes_.append(static_cast<const char*>(data), size);
  }
  std::string take() { return std::move(bytes_); }

 private:
  void patch(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_[at + std::size_t(i)] = char(v >> (8 * i));
  }
  std::string bytes_;
  std::size_t previous_ = 0;
  bool hasPrevious_ = false;
};

void writeGenome(ChunkWriter& out, const char (&tag)[5], const Genome& genome) {
  if (genome.count <= 0) return;
  const std::int32_t count = std::min(genome.count, kMaxGeneCount);
  out.begin(tag);
  out.word(count);
  out.raw(genome.genes.data(), std::size_t(count) * sizeof(Gene));
}

}  // namespace

std::string writeDna(const RandomArtState& state) {
  ChunkWriter out;
  out.begin("INFO");
  out.word(state.width);
  out.word(state.height);
  out.word(state.autoExport.load() ? 1 : 0);
  out.word(state.showProcessing.load() ? 1 : 0);
  if (state.targetPixels.size() == std::size_t(kFieldPixels)) {
    // The chunk describes the pixels it holds: the analysed picture's own size.
    out.begin("IMG\0");
    out.word(kFieldWidth);
    out.word(kFieldHeight);
    out.raw(state.targetPixels.data(), state.targetPixels.size() * 4);
  }
  writeGenome(out, "BEST", state.best);
  writeGenome(out, "GEN\0", state.candidate);
  out.begin("PARA");
  out.word(kParameterCount);
  for (int i = 0; i < kParameterCount; ++i) {
    out.word(i);
    out.word(state.parameters.get(i));
  }
  return out.take();
}

bool exportDnaFile(const std::filesystem::path& path, RandomArtState& state,
                   RandomArtWorker* worker, std::string* error) {
  std::string bytes;
  {
    ScopedPause pause(worker);
    bytes = writeDna(state);
  }
  if (!saveFileAtomically(path, bytes, error)) return false;
  state.dnaPath = path.string();
  return true;
}

}  // namespace orvane
