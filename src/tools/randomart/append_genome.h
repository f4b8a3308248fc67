#pragma once

#include "document/emblem_document.h"
#include "tools/randomart/gene.h"

namespace orvane {

// What goes behind a genome's layers in the emblem.
enum class GenomeBackdrop {
  White,  // an opaque white layer: the ground the evolution's pictures are drawn on
  None,   // nothing: the genome covers the field itself (the shape fitting's first gene does)
};

// AppendGenomeAsLayers: puts the genome at the top of the emblem as a visible group
// "ランダムアート" holding one layer per gene, the frontmost gene first ("レイヤー1"), and behind
// them, unless asked otherwise, an opaque white backdrop layer (part 242 over the whole
// coordinate square), so the emblem shows what the simulation drew on its white ground. Fires
// UpdateBegins (0) and UpdateEnds (1); false, and nothing changed, when the document has no
// root.
bool AppendGenomeAsLayers(EmblemDocument& document, const Genome& genome,
                          GenomeBackdrop backdrop = GenomeBackdrop::White);

}  // namespace orvane
