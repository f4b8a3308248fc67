#include "editing/layer_transforms.h"

#include <algorithm>
#include <cmath>

namespace orvane {
namespace {

// Scale one coordinate about a centre: the product is taken in single precision and truncated
// toward zero before the centre is added back.
std::int32_t scaleCoordinate(std::int32_t value, std::int32_t centre, float factor) {
  return centre + static_cast<std::int32_t>(factor * static_cast<float>(value - centre));
}

// Turn one stored vertex about a centre. Every step is in single precision, in this order, and
// the angle is measured from the +y axis towards +x (atan2 of dx over dy); callers depend on the
// exact results (a vertex at (16, 16) turned by -pi/2 lands on (-15, 15)).
Point rotateVertex(Point p, std::int32_t cx, std::int32_t cy, float angle) {
  const float dx = static_cast<float>(p.x - cx);
  const float dy = static_cast<float>(p.y - cy);
  const float phi = std::atan2(dx, dy) + angle;
  const float r = std::sqrt(dx * dx + dy * dy);
  return {cx + static_cast<std::int32_t>(std::sin(phi) * r),
          cy + static_cast<std::int32_t>(std::cos(phi) * r)};
}

Quad storedVertices(const LayerRecord& r) {
  return {{r.ltx, r.lty}, {r.lbx, r.lby}, {r.rtx, r.rty}, {r.rbx, r.rby}};
}

template <typename F>
void forEachVertex(Quad& quad, F&& f) {
  f(quad.lt);
  f(quad.lb);
  f(quad.rt);
  f(quad.rb);
}

void storeVertices(LayerRecord& r, const Quad& q) {
  r.ltx = q.lt.x, r.lty = q.lt.y;
  r.lbx = q.lb.x, r.lby = q.lb.y;
  r.rtx = q.rt.x, r.rty = q.rt.y;
  r.rbx = q.rb.x, r.rby = q.rb.y;
}

// The shape shared by every tree operation: the change notifications of the node's document are
// held back while each layer of the subtree (or the node itself, when it is a layer) is changed,
// then exactly one notification is fired for the node the operation was called on.
template <typename Change>
bool changeLayers(EmblemNode* node, Change&& change) {
  if (!node || node->kind() == NodeKind::Image) return false;
  EmblemDocument* owner = node->owner();
  {
    MutedEvents quiet(owner, {DocumentEvent::InfoChanged, DocumentEvent::GroupChanged,
                              DocumentEvent::LayerChanged});
    forEachInSubtree(node, [&](EmblemNode* n) {
      if (n->kind() != NodeKind::Layer) return;
      LayerRecord record = n->layer();
      change(record);
      EmblemDocument::setLayerRecord(n, record);
    });
  }
  if (owner) owner->fire(*changeEventOf(node->kind()), node);
  return true;
}

}  // namespace

Quad effectiveVertices(const LayerRecord& r) {
  const Quad stored = storedVertices(r);
  if (r.rotation != 0) {
    // A rotation starts again from the stored vertices: a pending move or scale is dropped.
    Quad turned = stored;
    forEachVertex(turned, [&](Point& p) {
      p = rotateVertex(p, r.rotationCentreX, r.rotationCentreY, r.rotation);
    });
    return turned;
  }
  Quad q = stored;
  const std::int32_t dx = r.moveX - r.moveOriginX;
  const std::int32_t dy = r.moveY - r.moveOriginY;
  forEachVertex(q, [&](Point& p) {
    p.x += dx;
    p.y += dy;
  });
  if (r.scaleX != 0 || r.scaleY != 0) {
    const float kx = r.scaleX + 1.0f;
    const float ky = r.scaleY + 1.0f;
    forEachVertex(q, [&](Point& p) {
      p.x = scaleCoordinate(p.x, r.scaleCentreX, kx);
      p.y = scaleCoordinate(p.y, r.scaleCentreY, ky);
    });
  }
  return q;
}

bool effectiveVertices(const EmblemNode* node, Quad& quad) {
  if (!node || node->kind() != NodeKind::Layer) return false;
  quad = effectiveVertices(node->layer());
  return true;
}

bool boundingBox(const EmblemNode* node, Box& box) {
  if (!node) return false;
  bool found = false;
  forEachInSubtree(node, [&](const EmblemNode* n) {
    if (n == node || n->kind() != NodeKind::Layer) return;
    Quad q = effectiveVertices(n->layer());
    forEachVertex(q, [&](Point& p) {
      if (!found) {
        box = {p.x, p.y, p.x, p.y};
        found = true;
      }
      box.minX = std::min(box.minX, p.x);
      box.minY = std::min(box.minY, p.y);
      box.maxX = std::max(box.maxX, p.x);
      box.maxY = std::max(box.maxY, p.y);
    });
  });
  return found;
}

namespace {

// Drags one vertex (chosen by its two record fields) of every layer by (x - fromX, y - fromY).
bool moveVertex(EmblemNode* node, std::int32_t LayerRecord::*vertexX,
                std::int32_t LayerRecord::*vertexY, std::int32_t dx, std::int32_t dy) {
  return changeLayers(node, [&](LayerRecord& r) {
    r.*vertexX += dx;
    r.*vertexY += dy;
  });
}

}  // namespace

bool moveVertexLt(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t fromX,
                  std::int32_t fromY) {
  return moveVertex(node, &LayerRecord::ltx, &LayerRecord::lty, x - fromX, y - fromY);
}

bool moveVertexLb(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t fromX,
                  std::int32_t fromY) {
  return moveVertex(node, &LayerRecord::lbx, &LayerRecord::lby, x - fromX, y - fromY);
}

bool moveVertexRt(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t fromX,
                  std::int32_t fromY) {
  return moveVertex(node, &LayerRecord::rtx, &LayerRecord::rty, x - fromX, y - fromY);
}

bool moveVertexRb(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t fromX,
                  std::int32_t fromY) {
  return moveVertex(node, &LayerRecord::rbx, &LayerRecord::rby, x - fromX, y - fromY);
}

bool setPendingMove(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t originX,
                    std::int32_t originY) {
  return changeLayers(node, [&](LayerRecord& r) {
    r.moveX = x;
    r.moveY = y;
    r.moveOriginX = originX;
    r.moveOriginY = originY;
  });
}

bool setPendingScale(EmblemNode* node, float kx, float ky, std::int32_t centreX,
                     std::int32_t centreY) {
  return changeLayers(node, [&](LayerRecord& r) {
    r.scaleX = kx - 1.0f;
    r.scaleY = ky - 1.0f;
    r.scaleCentreX = centreX;
    r.scaleCentreY = centreY;
  });
}

bool setPendingRotation(EmblemNode* node, float angle, std::int32_t centreX, std::int32_t centreY) {
  return changeLayers(node, [&](LayerRecord& r) {
    r.rotation = angle;
    r.rotationCentreX = centreX;
    r.rotationCentreY = centreY;
  });
}

bool applyPending(EmblemNode* node) {
  return changeLayers(node, [](LayerRecord& r) {
    const Quad q = effectiveVertices(r);
    const std::uint32_t color = r.color;
    const std::int32_t partId = r.partId;
    r = LayerRecord{};
    storeVertices(r, q);
    r.color = color;
    r.partId = partId;
  });
}

}  // namespace orvane
