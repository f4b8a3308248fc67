#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace orvane {

// The odds and bounds of the mutation operators. A rate N fires one trial in N; 2000 (the top
// of every rate's range) switches the operator off and 1 fires at every trial. Minimums are
// inclusive and maximums exclusive. The member order is the index order of DNA files.
struct EvolutionParameters {
  std::int32_t layerCountMin = 1;
  std::int32_t layerCountMax = 511;
  std::int32_t layerAddRate = 1;
  std::int32_t layerDeleteRate = 1300;
  std::int32_t orderChangeRate = 1300;
  std::int32_t coordLargeMoveRate = 1300;
  std::int32_t coordMediumMoveRate = 750;
  std::int32_t coordSmallMoveRate = 300;
  std::int32_t coordMediumMoveWidth = 20;
  std::int32_t coordSmallMoveWidth = 3;
  std::int32_t redChangeRate = 1300;
  std::int32_t redMin = 0;
  std::int32_t redMax = 64;
  std::int32_t greenChangeRate = 1300;
  std::int32_t greenMin = 0;
  std::int32_t greenMax = 64;
  std::int32_t blueChangeRate = 1300;
  std::int32_t blueMin = 0;
  std::int32_t blueMax = 64;
  std::int32_t alphaChangeRate = 1300;
  std::int32_t alphaMin = 0;
  std::int32_t alphaMax = 8;
  std::int32_t partChangeRate = 1300;
  std::int32_t partMin = 0;
  std::int32_t partMax = 730;

  // Parameter by its index 0 ... 24.
  std::int32_t& operator[](int index);
  std::int32_t operator[](int index) const;
  friend bool operator==(const EvolutionParameters&, const EvolutionParameters&) = default;
};

inline constexpr int kParameterCount = 25;
static_assert(sizeof(EvolutionParameters) == kParameterCount * sizeof(std::int32_t));

// A parameter's name, the range the editor offers and its default.
struct ParameterInfo {
  std::string_view name;
  std::int32_t min;
  std::int32_t max;
  std::int32_t defaultValue;
};
extern const std::array<ParameterInfo, kParameterCount> kParameterTable;

// Index of a parameter by its name (e.g. "coordSmallMoveWidth").
std::optional<int> parameterIndex(std::string_view name);
// The value limited to the parameter's range.
std::int32_t clampParameter(int index, std::int32_t value);

}  // namespace orvane
