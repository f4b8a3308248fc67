#pragma once

#include <cstdint>

namespace orvane {

// The drag in progress in the drawing pane. The four vertex modes are numbered in corner order
// (lt, lb, rt, rb), so a corner's index converts to its mode and back.
enum class DragMode : std::int32_t {
  None = -1,
  VertexLt = 0,
  VertexLb = 1,
  VertexRt = 2,
  VertexRb = 3,
  Move = 4,
  Scale = 5,
  Rotate = 6,
};

}  // namespace orvane
