#include "resources/parts_atlas_resource.h"

// The build passes the path of parts_atlas.bin as ORVANE_PARTS_ATLAS_BIN; the assembler copies
// the file's bytes into read-only data between two symbols, so the resource costs no C array
// and no start-up work.
#ifdef ORVANE_PARTS_ATLAS_BIN

__asm__(
    ".pushsection .rodata.orvane_parts_atlas, \"a\", @progbits\n"
    ".balign 16\n"
    ".globl orvane_parts_atlas_begin\n"
    ".hidden orvane_parts_atlas_begin\n"
    ".type orvane_parts_atlas_begin, @object\n"
    "orvane_parts_atlas_begin:\n"
    ".incbin \"" ORVANE_PARTS_ATLAS_BIN
    "\"\n"
    ".globl orvane_parts_atlas_end\n"
    ".hidden orvane_parts_atlas_end\n"
    "orvane_parts_atlas_end:\n"
    ".size orvane_parts_atlas_begin, orvane_parts_atlas_end - orvane_parts_atlas_begin\n"
    ".popsection\n");

extern "C" const std::uint8_t orvane_parts_atlas_begin[];
extern "C" const std::uint8_t orvane_parts_atlas_end[];

namespace orvane {

std::span<const std::uint8_t> embeddedPartsAtlasResource() {
  return {orvane_parts_atlas_begin, orvane_parts_atlas_end};
}

}  // namespace orvane

#else

namespace orvane {

std::span<const std::uint8_t> embeddedPartsAtlasResource() { return {}; }

}  // namespace orvane

#endif
