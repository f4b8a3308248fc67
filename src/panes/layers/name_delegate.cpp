#include "panes/layers/name_delegate.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "document/emblem_types.h"

namespace orvane {
namespace {

class NameField : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  bool event(QEvent* event) override {
    // Claiming Esc before the shortcuts see it lets the delegate close the field with it.
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      event->accept();
      return true;
    }
    return QLineEdit::event(event);
  }
};

}  // namespace

QWidget* NameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex&) const {
  auto* field = new NameField(parent);
  field->setFrame(false);
  field->setMaxLength(static_cast<int>(kMaxNameUnits));
  return field;
}

}  // namespace orvane
