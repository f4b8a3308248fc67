#include "app/tools/picture_box.h"

#include <QPainter>
#include <cstring>

#include "tools/randomart/genome_rendering.h"

namespace orvane {
namespace {
constexpr int kFrame = 1;
}

PictureBox::PictureBox(int zoom, QWidget* parent) : QWidget(parent), zoom_(std::max(zoom, 1)) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PictureBox::showPixels(const std::uint32_t* pixels) {
  if (picture_.isNull()) picture_ = QImage(kFieldWidth, kFieldHeight, QImage::Format_RGB32);
  for (int y = 0; y < kFieldHeight; ++y) {
    std::memcpy(picture_.scanLine(y), pixels + std::size_t(y) * kFieldWidth,
                kFieldWidth * sizeof(std::uint32_t));
  }
  update();
}

void PictureBox::clear() {
  picture_ = QImage();
  update();
}

QSize PictureBox::sizeHint() const {
  return {kFieldWidth * zoom_ + 2 * kFrame, kFieldHeight * zoom_ + 2 * kFrame};
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  const QRect inside(kFrame, kFrame, kFieldWidth * zoom_, kFieldHeight * zoom_);
  if (picture_.isNull()) {
    painter.fillRect(inside, palette().color(QPalette::Dark));
    return;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(inside, picture_);
}

}  // namespace orvane
