// Feeds arbitrary bytes to the emblem unpacker the way the binary file reader uses it (size
// first, then into a buffer of that size), checks that a smaller buffer gets the same leading
// bytes, and packs the input to check that it comes back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "formats/emblem_packer.h"

namespace {

// Far above any emblem file body, and small enough that no input makes the fuzzer allocate
// much: a stream may unpack to at most 1 MiB.
constexpr std::size_t kMaxOutput = std::size_t{1} << 20;

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using orvane::UnpackResult;

  const UnpackResult sized = orvane::unpackEmblem(data, size, nullptr, 0, kMaxOutput);
  check(sized.size <= kMaxOutput);

  std::vector<std::uint8_t> full(sized.size);
  const UnpackResult unpacked =
      orvane::unpackEmblem(data, size, full.data(), full.size(), kMaxOutput);
  check(unpacked.size == sized.size && unpacked.status == sized.status);

  const std::size_t shortLength = sized.size / 2;
  std::vector<std::uint8_t> part(shortLength);
  const UnpackResult cut = orvane::unpackEmblem(data, size, part.data(), part.size(), kMaxOutput);
  check(cut.size == sized.size && cut.status == sized.status);
  check(shortLength == 0 || std::memcmp(part.data(), full.data(), shortLength) == 0);

  const std::vector<std::uint8_t> packed = orvane::packEmblem({data, size});
  std::vector<std::uint8_t> back(size);
  const UnpackResult again =
      orvane::unpackEmblem(packed.data(), packed.size(), back.data(), back.size());
  check(again.complete() && again.size == size);
  check(size == 0 || std::memcmp(back.data(), data, size) == 0);
  return 0;
}
