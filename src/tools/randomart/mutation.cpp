#include "tools/randomart/mutation.h"

#include <algorithm>
#include <cstring>

namespace orvane {
namespace {

std::int8_t clampCoordinate(std::int64_t value) {
  return std::int8_t(std::clamp<std::int64_t>(value, -128, 127));
}

// The add operator's gene: a speck inside a 6 x 6 box around (cx - 128, cy - 128), then the
// five attributes picked in the order red, green, blue, alpha, part.
Gene newGene(const EvolutionParameters& p, RandomGenerator& random) {
  Gene gene{};
  const std::int64_t cx = random.next() & 255;
  const std::int64_t cy = random.next() & 255;
  for (int v = 0; v < 4; ++v) {
    gene.xy[2 * v] = clampCoordinate(cx - 131 + random.next() % 6);
    gene.xy[2 * v + 1] = clampCoordinate(cy - 131 + random.next() % 6);
  }
  gene.setField(kRedShift, kChannelBits, PickInRange(random, p.redMin, p.redMax));
  gene.setField(kGreenShift, kChannelBits, PickInRange(random, p.greenMin, p.greenMax));
  gene.setField(kBlueShift, kChannelBits, PickInRange(random, p.blueMin, p.blueMax));
  gene.setField(kAlphaShift, kAlphaBits, PickInRange(random, p.alphaMin, p.alphaMax));
  gene.setField(kPartShift, kPartBits, PickInRange(random, p.partMin, p.partMax));
  return gene;
}

// A medium or small move: the coordinate steps by -W ... W-1 and is clamped; with W <= 0 nothing
// is drawn and the coordinate stays.
void nudge(std::int8_t& coordinate, std::int32_t width, RandomGenerator& random) {
  if (width <= 0) return;
  const std::uint32_t span = 2 * std::uint32_t(width);
  coordinate = clampCoordinate(std::int64_t(coordinate) - width + random.next() % span);
}

// Moves and recolours one gene; true when any of its operators fired.
bool mutateGene(Gene& gene, const EvolutionParameters& p, RandomGenerator& random) {
  bool fired = false;
  for (int v = 0; v < 4; ++v) {
    std::int8_t& x = gene.xy[2 * v];
    std::int8_t& y = gene.xy[2 * v + 1];
    if (RateFires(random, p.coordLargeMoveRate)) {
      x = std::int8_t(std::int32_t(random.next() & 255) - 128);
      y = std::int8_t(std::int32_t(random.next() & 255) - 128);
      fired = true;
    }
    if (RateFires(random, p.coordMediumMoveRate)) {
      nudge(x, p.coordMediumMoveWidth, random);
      nudge(y, p.coordMediumMoveWidth, random);
      fired = true;
    }
    if (RateFires(random, p.coordSmallMoveRate)) {
      nudge(x, p.coordSmallMoveWidth, random);
      nudge(y, p.coordSmallMoveWidth, random);
      fired = true;
    }
  }
  struct Attribute {
    std::int32_t rate, min, max;
    unsigned shift, bits;
  };
  const Attribute attributes[] = {
      {p.redChangeRate, p.redMin, p.redMax, kRedShift, kChannelBits},
      {p.greenChangeRate, p.greenMin, p.greenMax, kGreenShift, kChannelBits},
      {p.blueChangeRate, p.blueMin, p.blueMax, kBlueShift, kChannelBits},
      {p.alphaChangeRate, p.alphaMin, p.alphaMax, kAlphaShift, kAlphaBits},
      {p.partChangeRate, p.partMin, p.partMax, kPartShift, kPartBits},
  };
  for (const Attribute& a : attributes) {
    if (RateFires(random, a.rate)) {
      gene.setField(a.shift, a.bits, PickInRange(random, a.min, a.max));
      fired = true;
    }
  }
  return fired;
}

}  // namespace

unsigned changedTriangles(const Gene& before, const Gene& after) {
  if (before.attributes != after.attributes) return kBothTriangles;
  auto moved = [&](int v) { return before.x(v) != after.x(v) || before.y(v) != after.y(v); };
  // Vertices 0 ... 3 are lt, lb, rt, rb; lt and rb belong to both triangles.
  const bool shared = moved(0) || moved(3);
  return unsigned(shared || moved(1)) | unsigned(shared || moved(2)) << 1;
}

bool MutateGenome(Genome& genome, const EvolutionParameters& p, RandomGenerator& random,
                  MutationLog* log) {
  if (log) log->clear();
  Gene* genes = genome.genes.data();
  std::int32_t& count = genome.count;
  count = std::clamp(count, 0, kMaxGeneCount);
  bool changed = false;

  // 1. Add a gene (never past 511, whatever layerCountMax says).
  if (RateFires(random, p.layerAddRate) && count < std::min(p.layerCountMax, kMaxGeneCount)) {
    const std::uint32_t pos = random.next() % std::uint32_t(count + 1);
    std::memmove(genes + pos + 1, genes + pos, (count - pos) * sizeof(Gene));
    ++count;
    genes[pos] = newGene(p, random);
    if (log) log->add(genes[pos]);
    changed = true;
  }
  // 2. Delete a gene.
  if (RateFires(random, p.layerDeleteRate) && count > p.layerCountMin && count > 0) {
    const std::uint32_t pos = random.next() % std::uint32_t(count);
    if (log) log->add(genes[pos]);
    std::memmove(genes + pos, genes + pos + 1, (count - pos - 1) * sizeof(Gene));
    --count;
    changed = true;
  }
  // 3. Move one gene to another place in the stack; both places are drawn from the count
  // before the gene is taken out.
  if (RateFires(random, p.orderChangeRate) && count > 0) {
    const std::uint32_t pos = random.next() % std::uint32_t(count);
    const Gene moved = genes[pos];
    std::memmove(genes + pos, genes + pos + 1, (count - pos - 1) * sizeof(Gene));
    const std::uint32_t newPos = random.next() % std::uint32_t(count);
    std::memmove(genes + newPos + 1, genes + newPos, (count - 1 - newPos) * sizeof(Gene));
    genes[newPos] = moved;
    if (log && newPos != pos) log->add(moved);
    changed = true;
  }
  // 4. Every gene in turn.
  for (std::int32_t i = 0; i < count; ++i) {
    const Gene before = genes[i];
    if (mutateGene(genes[i], p, random)) {
      changed = true;
      const unsigned triangles = log ? changedTriangles(before, genes[i]) : 0;
      if (triangles != 0) {
        log->add(before, triangles);
        log->add(genes[i], triangles);
      }
    }
  }
  return changed;
}

}  // namespace orvane
