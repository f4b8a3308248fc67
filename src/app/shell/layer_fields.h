#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "document/emblem_types.h"

namespace orvane {

// The layer page's view of a layer record.

// The record a page edit starts from: the vertices as drawn (the effective ones) with no
// pending move, scale or rotation left, so storing it changes nothing but the edited value.
LayerRecord settledRecord(const LayerRecord& record);

// The eight vertex fields in page order: vertex 1 (lt) x, y, vertex 2 (lb), vertex 3 (rt),
// vertex 4 (rb).
enum class VertexField : int { LtX, LtY, LbX, LbY, RtX, RtY, RbX, RbY };
inline constexpr std::array<VertexField, 8> kVertexFields = {
    VertexField::LtX, VertexField::LtY, VertexField::LbX, VertexField::LbY,
    VertexField::RtX, VertexField::RtY, VertexField::RbX, VertexField::RbY};

// The coordinate a field edits, and its short name ("ltx" ... "rby", as the files call it).
std::int32_t& coordinateOf(LayerRecord& record, VertexField field);
std::int32_t coordinateOf(const LayerRecord& record, VertexField field);
std::string_view vertexFieldName(VertexField field);

}  // namespace orvane
