#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

namespace orvane {

// A box showing one 192 x 96 picture of the random-art tool (target, best or simulation) at a
// whole-number zoom, so every pixel stays a crisp square. Empty until the first picture.
class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(int zoom, QWidget* parent = nullptr);

  // Copies the picture: 192 x 96 words 0xAARRGGBB, rows from the top (alpha is ignored).
  void showPixels(const std::uint32_t* pixels);
  void clear();
  const QImage& picture() const { return picture_; }
  int zoom() const { return zoom_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int zoom_;
  QImage picture_;
};

}  // namespace orvane
