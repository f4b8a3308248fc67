#include "panes/drawing/drawing_pane.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>
#include <cmath>

#include "editing/node_path.h"
#include "editing/pane_geometry.h"

namespace orvane {
namespace {

// Device pixels per pane pixel, rounded up so that a fractional screen scale still gets a
// picture at least as sharp as the screen.
int pixelRatioOf(const QWidget* widget) {
  return std::clamp(static_cast<int>(std::ceil(widget->devicePixelRatioF() - 0.01)), 1, 4);
}

std::optional<ArrowKey> arrowOf(int key) {
  switch (key) {
    case Qt::Key_Left:
      return ArrowKey::Left;
    case Qt::Key_Up:
      return ArrowKey::Up;
    case Qt::Key_Right:
      return ArrowKey::Right;
    case Qt::Key_Down:
      return ArrowKey::Down;
    default:
      return std::nullopt;
  }
}

QString dragName(DragMode mode) {
  switch (mode) {
    case DragMode::VertexLt:
    case DragMode::VertexLb:
    case DragMode::VertexRt:
    case DragMode::VertexRb:
      return QStringLiteral("頂点の移動");
    case DragMode::Move:
      return QStringLiteral("移動");
    case DragMode::Scale:
      return QStringLiteral("拡大縮小");
    case DragMode::Rotate:
      return QStringLiteral("回転");
    case DragMode::None:
      break;
  }
  return {};
}

}  // namespace

DrawingPane::DrawingPane(Application& application, QWidget* parent)
    : QWidget(parent), application_(application) {
  setFixedSize(kEditorPaneWidth, kEditorPaneHeight);
  setFocusPolicy(Qt::ClickFocus);
  setMouseTracking(true);  // for the status line's coordinates
  setAttribute(Qt::WA_OpaquePaintEvent);
  deviceRatio_ = pixelRatioOf(this);
  options_.pixelRatio = static_cast<int>(deviceRatio_);
  rendererReady_ =
      setUpEditorRenderer(renderer_, application_.atlas().pixels(), options_.pixelRatio);
  watchDocument();
  redrawNow();
}

DrawingPane::~DrawingPane() {
  for (RegistrationId id : documentRegistrations_) application_.document().unregisterCallback(id);
  application_.unregisterSelectionChanged(selectionRegistration_);
}

void DrawingPane::watchDocument() {
  EmblemDocument& document = application_.document();
  auto on = [&](DocumentEvent event, auto reaction) {
    documentRegistrations_.push_back(document.registerCallback(
        event, [reaction](const DocumentEventArgs& args, std::uint32_t) { reaction(args); }));
  };
  on(DocumentEvent::UpdateBegins, [this](const DocumentEventArgs&) { updating_ = true; });
  on(DocumentEvent::UpdateEnds, [this](const DocumentEventArgs&) {
    redrawNow();
    updating_ = false;
  });
  for (DocumentEvent event :
       {DocumentEvent::NodeAdded, DocumentEvent::NodeRemoved, DocumentEvent::InfoChanged,
        DocumentEvent::GroupChanged, DocumentEvent::LayerChanged}) {
    on(event, [this](const DocumentEventArgs&) {
      if (!updating_) redrawNow();
    });
  }
  selectionRegistration_ =
      application_.registerSelectionChanged([this](EmblemNode* selection, std::uint32_t) {
        if (selection == seenSelection_) return;
        seenSelection_ = selection;
        redrawNow();
      });
}

void DrawingPane::setColourCorrection(bool on) {
  options_.colourConversion = on;
  redrawNow();
}

void DrawingPane::setBlur(bool on) {
  options_.blur = on;
  redrawNow();
}

void DrawingPane::setViewerMode(bool on) {
  options_.viewerMode = on;
  controller_.setViewerMode(on, application_.currentSelection());
  redrawNow();
}

void DrawingPane::redrawNow() {
  // A pane nobody can see (the window not shown yet, or minimised) only notes that its picture
  // is out of date; it draws it when it is next painted. The start thus draws one picture.
  if (!rendererReady_ || !isVisible()) {
    stale_ = true;
    if (isVisible()) repaint();
    return;
  }
  drawPicture();
  repaint();
}

void DrawingPane::drawPicture() {
  stale_ = false;
  drawEditorPicture(renderer_, application_.document(), application_.currentSelection(), options_);
  ++pictureCount_;
  const PixelView view = renderer_.backBuffer();
  // The renderer's words are 0xAARRGGBB with alpha 0xFF: exactly QImage's RGB32, so the
  // picture is shown straight from the renderer's memory.
  picture_ = QImage(reinterpret_cast<const uchar*>(view.pixels), view.width, view.height,
                    view.width * 4, QImage::Format_RGB32);
  picture_.setDevicePixelRatio(deviceRatio_);
}

void DrawingPane::paintEvent(QPaintEvent*) {
  if (stale_ && rendererReady_) drawPicture();
  QPainter painter(this);
  if (!rendererReady_ || picture_.isNull()) {
    painter.fillRect(rect(), palette().window());
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("エンブレムを描画できません。"));
    return;
  }
  painter.drawImage(QPointF(0, 0), picture_);
}

Point DrawingPane::emblemPointOf(const QPointF& position) const {
  // Pixel coordinates are whole pane pixels, as the pointer reports them; they may lie outside
  // the pane while a drag goes on over the area around it.
  return panePixelToEmblem(static_cast<int>(std::floor(position.x())),
                           static_cast<int>(std::floor(position.y())), kEditorPaneWidth,
                           kEditorPaneHeight);
}

void DrawingPane::mousePressEvent(QMouseEvent* event) {
  if (!rendererReady_ || options_.viewerMode) return event->ignore();
  setFocus(Qt::MouseFocusReason);
  const PointerButton button =
      event->button() == Qt::RightButton ? PointerButton::Right : PointerButton::Left;
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  controller_.press(button, emblemPointOf(event->position()),
                    event->modifiers().testFlag(Qt::ShiftModifier),
                    application_.currentSelection());
}

void DrawingPane::mouseMoveEvent(QMouseEvent* event) {
  if (!rendererReady_ || options_.viewerMode) return event->ignore();
  const Point at = emblemPointOf(event->position());
  emit pointerMoved(at.x, at.y);
  if (controller_.mode() == DragMode::None) return;
  setFocus(Qt::MouseFocusReason);
  const DragMode mode = controller_.mode();
  controller_.move(at, event->buttons().testFlag(Qt::LeftButton),
                   event->buttons().testFlag(Qt::RightButton),
                   event->modifiers().testFlag(Qt::ShiftModifier), application_.currentSelection());
  if (controller_.mode() == DragMode::None) emit editFinished(dragName(mode), QString());
}

void DrawingPane::mouseReleaseEvent(QMouseEvent* event) {
  if (!rendererReady_ || options_.viewerMode) return event->ignore();
  const DragMode mode = controller_.mode();
  if (controller_.release(application_.currentSelection()) && mode != DragMode::None) {
    emit editFinished(dragName(mode), QString());
  }
}

void DrawingPane::keyPressEvent(QKeyEvent* event) {
  const auto arrow = arrowOf(event->key());
  if (!arrow || !rendererReady_ || options_.viewerMode) return event->ignore();
  EmblemNode* selection = application_.currentSelection();
  if (controller_.key(*arrow, event->modifiers().testFlag(Qt::ShiftModifier), selection)) {
    QString key = QStringLiteral("nudge");
    for (std::uint32_t row : pathOf(selection)) key += QLatin1Char('/') + QString::number(row);
    emit editFinished(QStringLiteral("矢印キーで移動"), key);
  }
}

}  // namespace orvane
