#pragma once

#include "panes/details/property_page.h"

class QComboBox;
class QLabel;

namespace orvane {

struct EmblemInfo;

// The emblem's header, shown for the root: name, author ID, layer count, size (a preset or
// typed width and height) and sound effect.
class InfoPage : public PropertyPage {
  Q_OBJECT
 public:
  explicit InfoPage(Application& application, QWidget* parent = nullptr);

  void fill(const EmblemNode& root) override;

  PropertyField* nameField() const { return name_; }
  PropertyField* authorField() const { return author_; }
  QLabel* layerCountLabel() const { return layerCount_; }
  QComboBox* sizeList() const { return size_; }
  PropertyField* widthField() const { return width_; }
  PropertyField* heightField() const { return height_; }
  QComboBox* soundList() const { return sound_; }

 private:
  void nameEdited(const QString& text);
  // Stores one number of the header from a field's text.
  void numberEdited(const QString& text, std::int32_t EmblemInfo::*value, const char* step,
                    const char* field);
  void sizeChosen(int index);
  void soundChosen(int index);

  PropertyField* name_;
  PropertyField* author_;
  QLabel* layerCount_;
  QComboBox* size_;
  PropertyField* width_;
  PropertyField* height_;
  QComboBox* sound_;
};

}  // namespace orvane
