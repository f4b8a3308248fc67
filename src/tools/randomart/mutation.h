#pragma once

#include <array>

#include "tools/randomart/evolution_parameters.h"
#include "tools/randomart/gene.h"
#include "tools/randomart/random_generator.h"

namespace orvane {

// What a mutation pass changed, for redrawing only those pixels: every gene that covers pixels
// whose colour may differ between the genome before and after the pass. An added gene is listed
// as it is, a deleted or reordered one as it was, a changed one both before and after. Operators
// that fired but left a gene as it was (a move of width 0, a pick of the same value, a reorder
// back to its own slot) list nothing.
//
// Each entry names the triangles of the quad that matter: a gene is drawn as the triangles
// (lb, lt, rb) (bit 0) and (lt, rb, rt) (bit 1), so a gene that only moved its lb or its rt
// vertex changed one triangle and left the other's pixels as they were.
inline constexpr unsigned kBothTriangles = 3;
struct MutationLog {
  struct Entry {
    Gene gene;
    unsigned triangles;
  };
  std::array<Entry, 2 * kGenomeCapacity + 4> entries;
  int count = 0;

  void clear() { count = 0; }
  void add(const Gene& gene, unsigned triangles = kBothTriangles) {
    if (count < int(entries.size())) entries[std::size_t(count++)] = {gene, triangles};
  }
};

// The triangles whose pixels may differ between two versions of one gene (see MutationLog).
unsigned changedTriangles(const Gene& before, const Gene& after);

// One mutation pass over the genome, the operators in their fixed order (add, delete, reorder,
// then per gene: for each vertex the large, medium and small moves, then red, green, blue,
// alpha and part), every random number drawn in the order the operators are written. True when
// at least one operator fired, even if it wrote the values that were there. The count stays
// within 0 ... 511 whatever the parameters say.
bool MutateGenome(Genome& genome, const EvolutionParameters& parameters, RandomGenerator& random,
                  MutationLog* log = nullptr);

}  // namespace orvane
