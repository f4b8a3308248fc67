#include "tools/randomart/evolution_parameters.h"

#include <algorithm>

namespace orvane {
namespace {

using Member = std::int32_t EvolutionParameters::*;
constexpr std::array<Member, kParameterCount> kMembers = {
    &EvolutionParameters::layerCountMin,
    &EvolutionParameters::layerCountMax,
    &EvolutionParameters::layerAddRate,
    &EvolutionParameters::layerDeleteRate,
    &EvolutionParameters::orderChangeRate,
    &EvolutionParameters::coordLargeMoveRate,
    &EvolutionParameters::coordMediumMoveRate,
    &EvolutionParameters::coordSmallMoveRate,
    &EvolutionParameters::coordMediumMoveWidth,
    &EvolutionParameters::coordSmallMoveWidth,
    &EvolutionParameters::redChangeRate,
    &EvolutionParameters::redMin,
    &EvolutionParameters::redMax,
    &EvolutionParameters::greenChangeRate,
    &EvolutionParameters::greenMin,
    &EvolutionParameters::greenMax,
    &EvolutionParameters::blueChangeRate,
    &EvolutionParameters::blueMin,
    &EvolutionParameters::blueMax,
    &EvolutionParameters::alphaChangeRate,
    &EvolutionParameters::alphaMin,
    &EvolutionParameters::alphaMax,
    &EvolutionParameters::partChangeRate,
    &EvolutionParameters::partMin,
    &EvolutionParameters::partMax,
};

}  // namespace

const std::array<ParameterInfo, kParameterCount> kParameterTable = {{
    {"layerCountMin", 1, 511, 1},
    {"layerCountMax", 1, 511, 511},
    {"layerAddRate", 1, 2000, 1},
    {"layerDeleteRate", 1, 2000, 1300},
    {"orderChangeRate", 1, 2000, 1300},
    {"coordLargeMoveRate", 1, 2000, 1300},
    {"coordMediumMoveRate", 1, 2000, 750},
    {"coordSmallMoveRate", 1, 2000, 300},
    {"coordMediumMoveWidth", 0, 128, 20},
    {"coordSmallMoveWidth", 0, 128, 3},
    {"redChangeRate", 1, 2000, 1300},
    {"redMin", 0, 64, 0},
    {"redMax", 0, 64, 64},
    {"greenChangeRate", 1, 2000, 1300},
    {"greenMin", 0, 64, 0},
    {"greenMax", 0, 64, 64},
    {"blueChangeRate", 1, 2000, 1300},
    {"blueMin", 0, 64, 0},
    {"blueMax", 0, 64, 64},
    {"alphaChangeRate", 1, 2000, 1300},
    {"alphaMin", 0, 8, 0},
    {"alphaMax", 0, 8, 8},
    {"partChangeRate", 1, 2000, 1300},
    {"partMin", 0, 1024, 0},
    {"partMax", 0, 1024, 730},
}};

std::int32_t& EvolutionParameters::operator[](int index) { return this->*kMembers.at(index); }
std::int32_t EvolutionParameters::operator[](int index) const { return this->*kMembers.at(index); }

std::optional<int> parameterIndex(std::string_view name) {
  for (int i = 0; i < kParameterCount; ++i) {
    if (kParameterTable[i].name == name) return i;
  }
  return std::nullopt;
}

std::int32_t clampParameter(int index, std::int32_t value) {
  const ParameterInfo& info = kParameterTable.at(index);
  return std::clamp(value, info.min, info.max);
}

}  // namespace orvane
