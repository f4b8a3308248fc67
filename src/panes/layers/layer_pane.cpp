#include "panes/layers/layer_pane.h"

namespace orvane {

LayerPane::LayerPane(Application& application, QWidget* parent)
    : QWidget(parent), application_(application) {}

}  // namespace orvane
