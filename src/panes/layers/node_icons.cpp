#include "panes/layers/node_icons.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace orvane {
namespace {

QIcon swatchOf(QRgb colour) {
  // Swatches are made once per colour; an emblem uses few colours, but keep the cache bounded.
  static QHash<QRgb, QIcon> swatches;
  const QRgb opaque = colour | 0xFF000000u;
  if (const auto found = swatches.constFind(opaque); found != swatches.constEnd()) {
    return *found;
  }
  if (swatches.size() > 4096) swatches.clear();
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QColor(64, 64, 64));
  painter.setBrush(QColor::fromRgb(opaque));
  painter.drawRect(2, 2, 11, 11);
  painter.end();
  return *swatches.insert(opaque, QIcon(pixmap));
}

}  // namespace

QIcon iconOf(const EmblemNode& node) {
  switch (node.kind()) {
    case NodeKind::Group: {
      // Made once: a fresh style icon decodes its pictures again wherever it is drawn.
      static const QIcon folder = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
      return folder;
    }
    case NodeKind::Layer:
      return swatchOf(static_cast<QRgb>(node.layer().color));
    case NodeKind::Image: {
      static const QIcon picture = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
      return picture;
    }
    case NodeKind::Info:
      break;
  }
  return {};
}

}  // namespace orvane
