#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "app/shell/application.h"
#include "editing/drawing_controller.h"
#include "render/editor_picture.h"
#include "render/renderer.h"

namespace orvane {

// The 768 x 384 pane that shows the emblem at 4 pixels per unit and edits the selection with the
// mouse and the arrow keys. Every decision is the DrawingController's; this widget turns Qt
// events into its calls and draws a new picture only when the document or the selection says
// something changed (never on a timer, never twice for one change).
class DrawingPane : public QWidget {
  Q_OBJECT
 public:
  explicit DrawingPane(Application& application, QWidget* parent = nullptr);
  ~DrawingPane() override;

  // The View menu's options; each change draws the picture again at once.
  void setColourCorrection(bool on);
  void setBlur(bool on);
  // Viewer mode: no overlays and no input; switching it on ends any drag.
  void setViewerMode(bool on);

  const DrawingController& controller() const { return controller_; }
  // Pictures drawn so far, for the benchmark that checks one picture per change.
  long pictureCount() const { return pictureCount_; }
  // False when the renderer could not be made; the pane then shows a message only.
  bool canDraw() const { return rendererReady_; }
  // The last picture drawn, device pixels (drawn first when the pane has not been shown).
  const QImage& picture() {
    if (stale_ && rendererReady_) drawPicture();
    return picture_;
  }

 signals:
  // The emblem point under the pointer, for the status line.
  void pointerMoved(int x, int y);
  // A drag or an arrow key is complete (the history records a step here; arrow presses on one
  // node share a merge key, so they join one step).
  void editFinished(const QString& what, const QString& mergeKey);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void watchDocument();
  // Draws the picture of the document as it is now and has it shown before returning.
  void redrawNow();
  void drawPicture();
  Point emblemPointOf(const QPointF& position) const;

  Application& application_;
  Renderer renderer_;
  bool rendererReady_ = false;
  qreal deviceRatio_ = 1;
  QImage picture_;
  EditorPictureSettings options_;
  DrawingController controller_;
  bool updating_ = false;
  bool stale_ = true;  // the picture does not show the document as it is
  const EmblemNode* seenSelection_ = nullptr;
  long pictureCount_ = 0;
  std::vector<RegistrationId> documentRegistrations_;
  RegistrationId selectionRegistration_ = 0;
};

}  // namespace orvane
