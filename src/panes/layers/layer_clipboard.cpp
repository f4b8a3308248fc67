#include "panes/layers/layer_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "app/shell/node_fragment.h"

namespace orvane {
namespace {

QString fragmentType() {
  return QString::fromLatin1(kNodeFragmentMimeType.data(),
                             static_cast<qsizetype>(kNodeFragmentMimeType.size()));
}

}  // namespace

void putOnClipboard(const EmblemNode& node) {
  const std::string text = nodeFragmentText(node);
  const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
  auto* data = new QMimeData;
  data->setData(fragmentType(), bytes);
  data->setText(QString::fromUtf8(bytes));
  QGuiApplication::clipboard()->setMimeData(data);
}

std::vector<NodePtr> nodesOnClipboard() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return {};
  QByteArray bytes;
  if (data->hasFormat(fragmentType())) {
    bytes = data->data(fragmentType());
  } else if (data->hasText()) {
    bytes = data->text().toUtf8();
  }
  return nodesOfFragment(
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace orvane
