#pragma once

#include <cstdint>
#include <optional>
#include <utility>

#include "editing/drag_mode.h"
#include "editing/layer_transforms.h"

namespace orvane {

// The drawing pane's fixed size in pixels; it shows 4 pixels per emblem unit.
inline constexpr int kPaneWidth = 768;
inline constexpr int kPaneHeight = 384;
inline constexpr int kPixelsPerUnit = 4;
// A press grabs a corner only when it is at most this many emblem units away.
inline constexpr float kCornerGrabDistance = 2.0f;

// Pane pixel -> emblem point: x = (px - w/2) / 4, y = (py - h/2) / 4, each division an integer
// division truncated toward zero, so the centre column and row are 7 pixels wide, the others 4.
Point panePixelToEmblem(int px, int py, int paneWidth = kPaneWidth, int paneHeight = kPaneHeight);

// The four corners the hit tests use: a layer's effective vertices; a group's or the root's
// bounding box of its layers (lt = min/min, lb = min/max, rt = max/min, rb = max/max); nothing
// for an image node, a group without layers, or no node.
std::optional<Quad> selectionCorners(const EmblemNode* selection);

// The corner a left press at `p` grabs: the one strictly nearer than each of the other three and
// at most kCornerGrabDistance away (single-precision distances). When two corners tie for
// nearest, neither is grabbed. Returns VertexLt ... VertexRb, or None.
DragMode grabbedCorner(Point p, const Quad& corners);

// The signs of the three edge cross products decide: 1 when all three are positive or all
// negative (strictly inside, either winding), 0 when none disagrees with another but some are
// zero (on the boundary, or a triangle shrunk to a point), -1 otherwise (outside). Exact integer
// arithmetic for coordinates of magnitude below 2^30.
int pointInTriangle(Point p, Point v1, Point v2, Point v3);

// Tests `p` against the triangles (lt, lb, rb) and (rb, rt, lt): -1 when both give the same
// non-zero answer (outside both, or inside both where a crossed quad overlaps itself), 1 when one
// is inside and the other outside, 0 otherwise. 0 and 1 are hits.
int hitQuad(Point p, const Quad& corners);

// The crossing of the lines joining the midpoints of opposite edges, in single precision;
// `fallback` (callers pass lt) when the lines are parallel. Each midpoint is a + (b - a) / 2 with
// the integer division truncated toward zero, so the order of a and b matters and is fixed.
std::pair<float, float> transformCentre(const Quad& corners, std::pair<float, float> fallback);

// A float truncated toward zero to a 32-bit integer, as the transforms need; out-of-range values
// saturate and NaN gives 0, so a far-away centre cannot overflow.
std::int32_t truncateToInt(float value);

}  // namespace orvane
