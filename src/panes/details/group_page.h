#pragma once

#include "panes/details/property_page.h"

namespace orvane {

// A group: its name.
class GroupPage : public PropertyPage {
  Q_OBJECT
 public:
  explicit GroupPage(Application& application, QWidget* parent = nullptr);

  void fill(const EmblemNode& group) override;
  PropertyField* nameField() const { return name_; }

 private:
  PropertyField* name_;
};

}  // namespace orvane
