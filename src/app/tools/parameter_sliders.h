#pragma once

#include <QGroupBox>
#include <array>

#include "tools/randomart/evolution_parameters.h"

class QSlider;

namespace orvane {

class LiveParameters;

// The random-art dialog's group "パラメータ": one horizontal slider per evolution parameter, top
// to bottom in index order, each beside its label. A slider's position is its parameter's value,
// written at once on every move so the worker uses it from its next trial on; a tooltip shows the
// value while the thumb is dragged.
class ParameterSliders : public QGroupBox {
  Q_OBJECT
 public:
  ParameterSliders(LiveParameters& parameters, QWidget* parent = nullptr);

  QSlider* slider(int index) const { return sliders_.at(std::size_t(index)); }
  // Moves every slider to its parameter's current value (after a DNA import).
  void showParameters();

 private:
  LiveParameters& parameters_;
  std::array<QSlider*, kParameterCount> sliders_{};
};

// The label of a parameter's slider, e.g. "レイヤー数最小値" for index 0.
QString parameterLabel(int index);

}  // namespace orvane
