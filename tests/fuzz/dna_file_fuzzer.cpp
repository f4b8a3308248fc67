// Feeds arbitrary bytes to the DNA reader. Whatever it makes of them must keep the genomes
// within their capacity and the parameters within their ranges, and must survive being written
// and read again unchanged.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "tools/randomart/dna_file.h"

using namespace orvane;

namespace {

void checkSane(const RandomArtState& state) {
  if (state.best.count < 0 || state.best.count > kMaxGeneCount) std::abort();
  if (state.candidate.count < 0 || state.candidate.count > kMaxGeneCount) std::abort();
  if (!state.targetPixels.empty() && state.targetPixels.size() != std::size_t(kFieldPixels)) {
    std::abort();
  }
  for (int i = 0; i < kParameterCount; ++i) {
    if (state.parameters.get(i) != clampParameter(i, state.parameters.get(i))) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RandomArtState state;
  readDna(std::span<const std::uint8_t>(data, size), state);
  checkSane(state);
  const std::string bytes = writeDna(state);
  RandomArtState again;
  if (!readDna({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}, again)) {
    std::abort();
  }
  checkSane(again);
  if (again.width != state.width || again.height != state.height ||
      again.targetPixels != state.targetPixels || again.best.count != state.best.count ||
      again.candidate.count != state.candidate.count ||
      again.parameters.snapshot() != state.parameters.snapshot() || writeDna(again) != bytes) {
    std::abort();
  }
  return 0;
}
