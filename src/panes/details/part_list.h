#pragma once

#include <QAbstractListModel>
#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

class QAbstractItemView;
class QComboBox;

namespace orvane {

class PartsAtlasBuffer;

// Side of a part's icon in the part lists, in pixels: half a 64-texel atlas cell.
inline constexpr int kPartIconSize = 32;

// A part's picture as a list icon: its atlas cell drawn as the renderer draws an untinted
// (white) layer, over a neutral grey so that white masks show, reduced to kPartIconSize.
// A grey square when the atlas is empty.
QImage partIcon(const PartsAtlasBuffer& atlas, std::uint32_t id);

// The 1024 parts in id order, each with its label and icon, so that a row is a part id.
// Labels are made with the model; each icon once, when a list first shows it (most lists show
// a dozen rows, and cutting all 1024 would slow the editor's start).
class PartListModel : public QAbstractListModel {
  Q_OBJECT
 public:
  explicit PartListModel(const PartsAtlasBuffer& atlas, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const PartsAtlasBuffer& atlas_;
  std::vector<QString> labels_;
  mutable std::vector<QImage> icons_;  // null until first shown
};

// The one part model of the run, made from the atlas at its first use and kept as long as the
// QApplication. Every part list shares it.
PartListModel& sharedPartListModel(const PartsAtlasBuffer& atlas);

// Fills a drop-down list or a list view with the 1024 parts (index = part id), icons beside
// labels; typing in the list jumps to the label that starts with the typed text.
void fillPartList(QComboBox& list, const PartsAtlasBuffer& atlas);
void fillPartList(QAbstractItemView& list, const PartsAtlasBuffer& atlas);

}  // namespace orvane
