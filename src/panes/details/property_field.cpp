#include "panes/details/property_field.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace orvane {

PropertyField::PropertyField(QWidget* parent) : QLineEdit(parent) {
  // textEdited comes from the user's own changes only (keys, paste, the field's undo).
  connect(this, &QLineEdit::textEdited, this, [this] { typing_ = true; });
}

void PropertyField::showValue(const QString& text) {
  if (typing_ || this->text() == text) return;
  setText(text);
}

void PropertyField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // The field's own context menu and a switch to another window do not end the typing: the user
  // comes back to the same field.
  if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason) {
    return;
  }
  endTyping();
}

void PropertyField::keyPressEvent(QKeyEvent* event) {
  QLineEdit::keyPressEvent(event);
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) endTyping();
}

void PropertyField::endTyping() {
  // Nothing to show again when nothing was typed; a refill now would also undo view choices
  // that the document does not hold (direct size entry chosen for a preset's size).
  if (!typing_) return;
  typing_ = false;
  emit typingEnded();
}

}  // namespace orvane
