// orvane_atlas_generator: draws the parts atlas and writes the enciphered resource the program
// embeds, and optionally a contact sheet of every named part.
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "atlasgen/atlas_art.h"
#include "base/atomic_file.h"

namespace {

constexpr const char* kUsage =
    "usage: orvane_atlas_generator [--fonts DIR] [--sheet PNG] [--only FIRST-LAST] RESOURCE\n"
    "  RESOURCE        where to write the enciphered atlas (parts_atlas.bin)\n"
    "  --fonts DIR     folder of the DejaVu fonts (default /usr/share/fonts/truetype/dejavu)\n"
    "  --sheet PNG     also write a contact sheet of the named parts\n"
    "  --only A-B      limit the contact sheet to part ids A ... B\n";

int usageError(const char* message) {
  std::fprintf(stderr, "orvane_atlas_generator: %s\n%s", message, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string fontDirectory = orvane::art::kDejaVuDirectory, sheet, output;
  unsigned first = 0, last = 1023;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (arg == "--version") {
      std::puts("orvane_atlas_generator 1");
      return 0;
    }
    if (arg == "--fonts" || arg == "--sheet" || arg == "--only") {
      if (i + 1 >= argc) return usageError("an option lacks its value");
      const std::string value = argv[++i];
      if (arg == "--fonts") {
        fontDirectory = value;
      } else if (arg == "--sheet") {
        sheet = value;
      } else if (std::sscanf(value.c_str(), "%u-%u", &first, &last) != 2 || first > last) {
        return usageError("--only wants two ids as FIRST-LAST");
      }
    } else if (!arg.empty() && arg[0] == '-') {
      return usageError("unknown option");
    } else if (output.empty()) {
      output = arg;
    } else {
      return usageError("more than one output file");
    }
  }
  if (output.empty()) return usageError("no output file");

  orvane::art::AtlasFonts fonts;
  std::string error;
  if (!fonts.load(fontDirectory, &error)) {
    std::fprintf(stderr, "orvane_atlas_generator: %s\n", error.c_str());
    return 1;
  }
  const std::vector<std::uint16_t> atlas = orvane::art::drawPartsAtlas(fonts);
  const std::vector<std::uint8_t> resource = orvane::art::makePartsAtlasResource(atlas);
  if (resource.empty()) {
    std::fputs("orvane_atlas_generator: the atlas cannot be packed\n", stderr);
    return 1;
  }
  const std::span<const std::byte> bytes = std::as_bytes(std::span(resource));
  if (!orvane::saveFileAtomically(output, bytes, &error)) {
    std::fprintf(stderr, "orvane_atlas_generator: %s: %s\n", output.c_str(), error.c_str());
    return 1;
  }
  if (!sheet.empty() && !orvane::art::writeContactSheet(atlas, fonts, sheet, first, last, &error)) {
    std::fprintf(stderr, "orvane_atlas_generator: %s: %s\n", sheet.c_str(), error.c_str());
    return 1;
  }
  return 0;
}
