#pragma once

#include <QWidget>
#include <array>

#include "app/shell/settings_file.h"

namespace orvane {

class Application;

// The property pages of the selected node.
class DetailsPane : public QWidget {
  Q_OBJECT
 public:
  DetailsPane(Application& application, std::array<PaletteColour, kPaletteColours>& customColours,
              QWidget* parent = nullptr);

 private:
  Application& application_;
  std::array<PaletteColour, kPaletteColours>& customColours_;
};

}  // namespace orvane
