#include "panes/details/details_pane.h"

namespace orvane {

DetailsPane::DetailsPane(Application& application,
                         std::array<PaletteColour, kPaletteColours>& customColours, QWidget* parent)
    : QWidget(parent), application_(application), customColours_(customColours) {}

}  // namespace orvane
