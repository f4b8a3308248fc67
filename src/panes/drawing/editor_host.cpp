#include "panes/drawing/editor_host.h"

#include "panes/drawing/drawing_pane.h"

namespace orvane {

EditorHost::EditorHost(Application& application, QWidget* parent)
    : QWidget(parent), pane_(new DrawingPane(application, this)) {
  setAutoFillBackground(true);
}

void EditorHost::resizeEvent(QResizeEvent*) {
  // Integer halves truncated toward zero, so a host one pixel narrower than the pane puts it
  // at 0, and a smaller one at a negative offset.
  pane_->move((width() - kEditorPaneWidth) / 2, (height() - kEditorPaneHeight) / 2);
}

}  // namespace orvane
