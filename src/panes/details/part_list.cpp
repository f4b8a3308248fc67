#include "panes/details/part_list.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QListView>
#include <QPixmap>
#include <QPointer>
#include <map>

#include "catalogue/part_catalogue.h"
#include "formats/parts_atlas.h"

namespace orvane {
namespace {

// The grey the icons are drawn on: dark enough for white masks, light enough for dark pictures.
constexpr int kIconBackground = 0x60;
// Atlas texels per icon pixel along each side.
constexpr int kReduction = kAtlasCellSize / kPartIconSize;

// One A4R4G4B4 texel blended over the background, per channel; 4-bit values n stand for n * 17.
struct Blended {
  int red, green, blue;
};
Blended overBackground(std::uint16_t texel) {
  const int alpha = ((texel >> 12) & 0xF) * 17;
  auto channel = [&](int shift) {
    const int value = ((texel >> shift) & 0xF) * 17;
    return (value * alpha + kIconBackground * (255 - alpha) + 127) / 255;
  };
  return {channel(8), channel(4), channel(0)};
}

}  // namespace

QImage partIcon(const PartsAtlasBuffer& atlas, std::uint32_t id) {
  QImage icon(kPartIconSize, kPartIconSize, QImage::Format_RGB32);
  if (atlas.empty()) {
    icon.fill(QColor(kIconBackground, kIconBackground, kIconBackground));
    return icon;
  }
  const AtlasCell cell = cellOf(id);
  const int left = static_cast<int>(cell.u * kAtlasColumns) * kAtlasCellSize;
  const int top = static_cast<int>(cell.v * kAtlasRows) * kAtlasCellSize;
  constexpr int kSamples = kReduction * kReduction;
  for (int y = 0; y < kPartIconSize; ++y) {
    auto* line = reinterpret_cast<QRgb*>(icon.scanLine(y));
    for (int x = 0; x < kPartIconSize; ++x) {
      // A box filter: each icon pixel is the mean of the texels it covers.
      int red = 0, green = 0, blue = 0;
      for (int dy = 0; dy < kReduction; ++dy) {
        for (int dx = 0; dx < kReduction; ++dx) {
          const Blended b =
              overBackground(atlas.pixel(left + x * kReduction + dx, top + y * kReduction + dy));
          red += b.red, green += b.green, blue += b.blue;
        }
      }
      line[x] = qRgb((red + kSamples / 2) / kSamples, (green + kSamples / 2) / kSamples,
                     (blue + kSamples / 2) / kSamples);
    }
  }
  return icon;
}

PartListModel::PartListModel(const PartsAtlasBuffer& atlas, QObject* parent)
    : QAbstractListModel(parent), atlas_(atlas), icons_(kPartCount) {
  labels_.reserve(kPartCount);
  for (const std::u16string& label : partLabels()) {
    labels_.push_back(QString::fromStdU16String(label));
  }
}

int PartListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(labels_.size());
}

QVariant PartListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  switch (role) {
    case Qt::DisplayRole:
      return labels_[row];
    case Qt::DecorationRole:
      if (icons_[row].isNull()) icons_[row] = partIcon(atlas_, index.row());
      // Kept as an image and converted when shown: images need no display, so the model may
      // outlive the window system's resources.
      return QPixmap::fromImage(icons_[row]);
    default:
      return {};
  }
}

PartListModel& sharedPartListModel(const PartsAtlasBuffer& atlas) {
  // One model per atlas, a child of the QApplication, so it goes with it. The model reads the
  // atlas when a list first shows an icon, so it must never outlive the atlas it reads: a model
  // is found by its atlas, and a new atlas at the same place is the same embedded atlas again.
  static std::map<const PartsAtlasBuffer*, QPointer<PartListModel>> models;
  QPointer<PartListModel>& shared = models[&atlas];
  if (!shared) shared = new PartListModel(atlas, QCoreApplication::instance());
  return *shared;
}

void fillPartList(QComboBox& list, const PartsAtlasBuffer& atlas) {
  list.setModel(&sharedPartListModel(atlas));
  // Measuring 1024 labels would only make the list wider than the pane.
  list.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  list.setMinimumContentsLength(12);
  list.setIconSize(QSize(kPartIconSize * 3 / 4, kPartIconSize * 3 / 4));
  list.setMaxVisibleItems(12);
  if (auto* view = qobject_cast<QListView*>(list.view())) {
    view->setUniformItemSizes(true);
    view->setIconSize(QSize(kPartIconSize, kPartIconSize));
  }
}

void fillPartList(QAbstractItemView& list, const PartsAtlasBuffer& atlas) {
  list.setModel(&sharedPartListModel(atlas));
  list.setIconSize(QSize(kPartIconSize, kPartIconSize));
  if (auto* view = qobject_cast<QListView*>(&list)) view->setUniformItemSizes(true);
}

}  // namespace orvane
