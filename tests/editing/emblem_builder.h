#pragma once

#include <utility>

#include "document/emblem_document.h"
#include "editing/layer_transforms.h"

namespace orvane {

// The axis-aligned quad from (left, top) to (right, bottom), in corner order lt, lb, rt, rb.
inline Quad rect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  return {{left, top}, {left, bottom}, {right, top}, {right, bottom}};
}

inline Quad storedVertices(const EmblemNode* layer) {
  const LayerRecord& r = layer->layer();
  return {{r.ltx, r.lty}, {r.lbx, r.lby}, {r.rtx, r.rty}, {r.rbx, r.rby}};
}

// A real document with an empty root, and helpers that attach nodes to it.
struct EmblemBuilder {
  EmblemBuilder() { doc.newDocument(u"test", 192, 96); }

  EmblemNode* add(EmblemNode* parent, NodeKind kind) {
    NodePtr node = EmblemDocument::makeNode(&doc, kind, u"node");
    EmblemNode* raw = node.get();
    doc.appendChild(parent, std::move(node));
    return raw;
  }

  EmblemNode* addLayer(EmblemNode* parent, const Quad& q) {
    EmblemNode* layer = add(parent, NodeKind::Layer);
    LayerRecord r;
    r.ltx = q.lt.x, r.lty = q.lt.y;
    r.lbx = q.lb.x, r.lby = q.lb.y;
    r.rtx = q.rt.x, r.rty = q.rt.y;
    r.rbx = q.rb.x, r.rby = q.rb.y;
    EmblemDocument::setLayerRecord(layer, r);
    return layer;
  }

  EmblemDocument doc;
  EmblemNode* root() const { return doc.root(); }
};

}  // namespace orvane
