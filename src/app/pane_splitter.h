#pragma once

#include <QWidget>

#include "app/shell/splitter_layout.h"

namespace orvane {

// Two panes side by side (or one above the other) with a gap between them that the user drags.
// One pane keeps a fixed size measured from its edge; the other takes the rest. The arithmetic
// is splitter_layout's; this widget only places the panes, shows the sizing cursor over the gap
// and follows drags of it.
class PaneSplitter : public QWidget {
  Q_OBJECT
 public:
  PaneSplitter(SplitOrientation orientation, int size, int border, QWidget* parent = nullptr);

  // Takes the two panes as children (each is shown with the ordinary arrow cursor).
  void setPanes(QWidget* pane1, QWidget* pane2);
  QWidget* pane1() const { return pane1_; }
  QWidget* pane2() const { return pane2_; }
  int size() const { return size_; }
  int border() const { return border_; }
  // Stores a new size and lays the panes out again.
  void setSize(int size);
  // Shows or hides a pane; the other one then fills the splitter.
  void setPaneShown(int pane, bool shown);
  // Places the panes for the current extent, size and border.
  void relayout();

 signals:
  void sizeChanged(int size);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  SplitterGeometry geometry() const;

  SplitOrientation orientation_;
  int size_;
  int border_;
  QWidget* pane1_ = nullptr;
  QWidget* pane2_ = nullptr;
  bool pane1Shown_ = true;
  bool pane2Shown_ = true;
  bool dragging_ = false;
  SplitterDrag drag_;
};

}  // namespace orvane
