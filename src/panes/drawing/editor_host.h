#pragma once

#include <QWidget>

namespace orvane {

class Application;
class DrawingPane;

// The area around the drawing pane: keeps the 768 x 384 pane centred (at negative offsets when
// the area is smaller than the pane).
class EditorHost : public QWidget {
  Q_OBJECT
 public:
  explicit EditorHost(Application& application, QWidget* parent = nullptr);
  DrawingPane* pane() const { return pane_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  DrawingPane* pane_;
};

}  // namespace orvane
