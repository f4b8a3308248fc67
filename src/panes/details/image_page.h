#pragma once

#include "panes/details/property_page.h"

namespace orvane {

// An image node. Nothing of an image can be edited, so its page shows an empty, read-only
// name field and is never filled.
class ImagePage : public PropertyPage {
  Q_OBJECT
 public:
  explicit ImagePage(Application& application, QWidget* parent = nullptr);

  void fill(const EmblemNode&) override {}
  PropertyField* nameField() const { return name_; }

 private:
  PropertyField* name_;
};

}  // namespace orvane
