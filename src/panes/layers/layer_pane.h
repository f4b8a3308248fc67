#pragma once

#include <QWidget>

namespace orvane {

class Application;

// The tree of the emblem's groups and layers.
class LayerPane : public QWidget {
  Q_OBJECT
 public:
  explicit LayerPane(Application& application, QWidget* parent = nullptr);

 private:
  Application& application_;
};

}  // namespace orvane
