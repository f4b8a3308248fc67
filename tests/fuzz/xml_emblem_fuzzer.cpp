// Feeds arbitrary text to the XML emblem reader. Whatever it accepts must be writable, and after
// one write and read (which settles what the format does not keep, such as a hidden layer) the
// text must come back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/xml_emblem_file.h"

using namespace orvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  EmblemDocument document;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!readXmlEmblemFromMemory(document, text)) {
    if (document.root()) std::abort();  // a refused file leaves the document empty
    return 0;
  }
  EmblemDocument settled;
  if (!readXmlEmblemFromMemory(settled, xmlEmblemText(document))) std::abort();
  const std::string written = xmlEmblemText(settled);
  EmblemDocument again;
  if (!readXmlEmblemFromMemory(again, written)) std::abort();
  if (xmlEmblemText(again) != written) std::abort();
  return 0;
}
