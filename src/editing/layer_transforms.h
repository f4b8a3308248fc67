#pragma once

#include <cstdint>

#include "document/emblem_document.h"

namespace orvane {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// A layer's four vertices as drawn and saved: the stored ones with the pending transform applied.
struct Quad {
  Point lt, lb, rt, rb;
  friend bool operator==(const Quad&, const Quad&) = default;
};

struct Box {
  std::int32_t minX = 0, minY = 0, maxX = 0, maxY = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

// The effective vertices of a record (see layer_transforms.cpp for the exact arithmetic).
Quad effectiveVertices(const LayerRecord& record);
// The same for a node; false when it is not a layer.
bool effectiveVertices(const EmblemNode* node, Quad& quad);
// The box around the effective vertices of every layer below `node` (not the node itself),
// hidden ones included; false when there is none.
bool boundingBox(const EmblemNode* node, Box& box);

// The tree operations: each changes the node itself when it is a layer, or every layer below it,
// and fires exactly one notification, for `node`. False (nothing changed) for an image node.
bool moveVertexLt(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t fromX,
                  std::int32_t fromY);
bool moveVertexLb(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t fromX,
                  std::int32_t fromY);
bool moveVertexRt(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t fromX,
                  std::int32_t fromY);
bool moveVertexRb(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t fromX,
                  std::int32_t fromY);
bool setPendingMove(EmblemNode* node, std::int32_t x, std::int32_t y, std::int32_t originX,
                    std::int32_t originY);
bool setPendingScale(EmblemNode* node, float kx, float ky, std::int32_t centreX,
                     std::int32_t centreY);
bool setPendingRotation(EmblemNode* node, float angle, std::int32_t centreX, std::int32_t centreY);
// Makes every pending transform below (or of) `node` permanent and clears the pending fields.
bool applyPending(EmblemNode* node);

}  // namespace orvane
