#pragma once

#include <array>

#include "app/shell/layer_fields.h"
#include "app/shell/settings_file.h"
#include "panes/details/property_page.h"

class QComboBox;
class QPushButton;
class QSlider;

namespace orvane {

class ColourSwatch;

// A layer: its name, its part (chosen by label and picture), its colour (swatch and chooser,
// opacity level, "R,G,B,A" text) and its four vertices as drawn.
class LayerPage : public PropertyPage {
  Q_OBJECT
 public:
  LayerPage(Application& application, std::array<PaletteColour, kPaletteColours>& customColours,
            QWidget* parent = nullptr);

  void fill(const EmblemNode& layer) override;
  // Opens the colour chooser for the selected layer and stores the colour chosen there.
  void chooseLayerColour();

  PropertyField* nameField() const { return name_; }
  QComboBox* partList() const { return part_; }
  ColourSwatch* swatch() const { return swatch_; }
  QPushButton* colourButton() const { return colourButton_; }
  QSlider* opacitySlider() const { return opacity_; }
  PropertyField* colourField() const { return colourText_; }
  PropertyField* vertexField(VertexField field) const { return vertices_[int(field)]; }

 private:
  void layOut();
  void connectEdits();
  // Stores a change of the selected layer's record, made on the record as the page shows it.
  template <typename Change>
  bool storeChange(Change change);

  std::array<PaletteColour, kPaletteColours>& customColours_;
  PropertyField* name_;
  QComboBox* part_;
  ColourSwatch* swatch_;
  QPushButton* colourButton_;
  QSlider* opacity_;
  PropertyField* colourText_;
  std::array<PropertyField*, kVertexFields.size()> vertices_{};
};

}  // namespace orvane
