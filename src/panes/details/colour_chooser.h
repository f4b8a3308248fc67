#pragma once

#include <QColor>
#include <array>
#include <optional>

#include "app/shell/settings_file.h"

class QWidget;

namespace orvane {

// Asks for a colour in the colour chooser, starting at `initial` and offering `customColours`.
// The user may change the custom colours there, whether the dialog is confirmed or not; they are
// written back into `customColours`, which the settings file keeps. None when cancelled.
std::optional<QColor> chooseColour(QWidget* owner, const QColor& initial,
                                   std::array<PaletteColour, kPaletteColours>& customColours);

}  // namespace orvane
