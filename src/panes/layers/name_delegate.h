#pragma once

#include <QStyledItemDelegate>

namespace orvane {

// Draws the tree's entries as usual and edits a name in place with a field that takes no more
// UTF-16 units than a name holds. Esc in the field cancels the renaming instead of reaching the
// program's own Esc.
class NameDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
};

}  // namespace orvane
