#include "tools/randomart/append_genome.h"

#include <algorithm>

#include "base/numbers.h"
#include "tools/randomart/genome_rendering.h"

namespace orvane {
namespace {

constexpr std::uint32_t kBackdropPart = 242;

std::u16string layerName(int number) {
  std::u16string name = u"レイヤー";
  for (char c : formatInt(number)) name += char16_t(c);
  return name;
}

}  // namespace

bool AppendGenomeAsLayers(EmblemDocument& document, const Genome& genome, GenomeBackdrop backdrop) {
  EmblemNode* root = document.root();
  if (!root) return false;
  document.fire(DocumentEvent::UpdateBegins, 0);
  NodePtr made = EmblemDocument::makeNode(&document, NodeKind::Group, u"ランダムアート");
  EmblemNode* group = made.get();
  if (!group || !document.prependChild(root, std::move(made))) {
    document.fire(DocumentEvent::UpdateEnds, 0);
    return false;
  }
  const int count = std::clamp(genome.count, 0, kMaxGeneCount);
  auto addLayer = [&](int number, const LayerRecord& record) {
    NodePtr layer = EmblemDocument::makeNode(&document, NodeKind::Layer, layerName(number));
    if (!layer) return false;
    EmblemDocument::setLayerRecord(layer.get(), record);
    return document.appendChild(group, std::move(layer));
  };
  for (int k = 1; k <= count; ++k) {
    const Gene& gene = genome.genes[std::size_t(count - k)];
    LayerRecord record;
    record.ltx = gene.x(0), record.lty = gene.y(0);
    record.lbx = gene.x(1), record.lby = gene.y(1);
    record.rtx = gene.x(2), record.rty = gene.y(2);
    record.rbx = gene.x(3), record.rby = gene.y(3);
    record.color = geneColour(gene);
    record.partId = std::int32_t(gene.part());
    if (!addLayer(k, record)) {
      document.fire(DocumentEvent::UpdateEnds, 0);
      return false;
    }
  }
  if (backdrop == GenomeBackdrop::White) {
    LayerRecord white;
    white.ltx = -128, white.lty = -128;
    white.lbx = -128, white.lby = 127;
    white.rtx = 127, white.rty = -128;
    white.rbx = 127, white.rby = 127;
    white.color = 0xFFFFFFFFu;
    white.partId = kBackdropPart;
    if (!addLayer(count + 1, white)) {
      document.fire(DocumentEvent::UpdateEnds, 0);
      return false;
    }
  }
  document.fire(DocumentEvent::UpdateEnds, 1);
  return true;
}

}  // namespace orvane
