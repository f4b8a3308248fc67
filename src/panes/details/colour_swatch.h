#pragma once

#include <QFrame>
#include <functional>
#include <optional>

namespace orvane {

// A box painted in a colour it asks for whenever it paints, so it never holds a stale copy;
// the window colour when there is none.
class ColourSwatch : public QFrame {
  Q_OBJECT
 public:
  using ColourSource = std::function<std::optional<QColor>()>;
  explicit ColourSwatch(ColourSource source, QWidget* parent = nullptr);

  QSize sizeHint() const override { return {48, 22}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ColourSource source_;
};

}  // namespace orvane
