#include "app/shell/layer_fields.h"

#include "editing/layer_transforms.h"

namespace orvane {

LayerRecord settledRecord(const LayerRecord& record) {
  const Quad quad = effectiveVertices(record);
  LayerRecord settled;
  settled.ltx = quad.lt.x;
  settled.lty = quad.lt.y;
  settled.lbx = quad.lb.x;
  settled.lby = quad.lb.y;
  settled.rtx = quad.rt.x;
  settled.rty = quad.rt.y;
  settled.rbx = quad.rb.x;
  settled.rby = quad.rb.y;
  settled.color = record.color;
  settled.partId = record.partId;
  return settled;
}

std::int32_t& coordinateOf(LayerRecord& record, VertexField field) {
  switch (field) {
    case VertexField::LtX:
      return record.ltx;
    case VertexField::LtY:
      return record.lty;
    case VertexField::LbX:
      return record.lbx;
    case VertexField::LbY:
      return record.lby;
    case VertexField::RtX:
      return record.rtx;
    case VertexField::RtY:
      return record.rty;
    case VertexField::RbX:
      return record.rbx;
    case VertexField::RbY:
      break;
  }
  return record.rby;
}

std::int32_t coordinateOf(const LayerRecord& record, VertexField field) {
  LayerRecord copy = record;
  return coordinateOf(copy, field);
}

std::string_view vertexFieldName(VertexField field) {
  static constexpr std::array<std::string_view, 8> kNames = {"ltx", "lty", "lbx", "lby",
                                                             "rtx", "rty", "rbx", "rby"};
  return kNames[static_cast<int>(field)];
}

}  // namespace orvane
