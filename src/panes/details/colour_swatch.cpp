#include "panes/details/colour_swatch.h"

#include <QPainter>

namespace orvane {

ColourSwatch::ColourSwatch(ColourSource source, QWidget* parent)
    : QFrame(parent), source_(std::move(source)) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
}

void ColourSwatch::paintEvent(QPaintEvent* event) {
  if (const std::optional<QColor> colour = source_()) {
    QPainter painter(this);
    painter.fillRect(contentsRect(), *colour);
  }
  QFrame::paintEvent(event);
}

}  // namespace orvane
