// Feeds arbitrary bytes to the binary emblem reader. Whatever it accepts must survive being
// written (plain and packed) and read again with the same layers.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "formats/binary_emblem_file.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EmblemDocument document;
  if (!readBinaryEmblemFromMemory(document, std::span<const std::uint8_t>(data, size))) {
    if (document.root()) std::abort();  // a refused file leaves the document empty
    return 0;
  }
  const std::size_t layers = EmblemDocument::countKind(document.root(), NodeKind::Layer);
  if (layers > kMaxBinaryLayers) std::abort();
  for (bool packed : {false, true}) {
    EmblemDocument again;
    if (!readBinaryEmblemFromMemory(again, binaryEmblemBytes(document, packed))) std::abort();
    if (EmblemDocument::countKind(again.root(), NodeKind::Layer) != layers) std::abort();
    for (const EmblemNode *a = document.root()->firstChild(), *b = again.root()->firstChild(); a;
         a = a->next(), b = b->next()) {
      if (!(a->layer() == b->layer())) std::abort();
    }
  }
  return 0;
}
