#pragma once

#include <QLineEdit>

namespace orvane {

// A text field of a property page. Its page stores the text on every change, and the document's
// change then fills the page again. While the user types here the refills leave the text alone,
// so a half-typed value ("-", "2", an empty width) is not replaced by what it means so far; when
// typing ends (the focus leaves, or Enter) the page shows the stored value again.
class PropertyField : public QLineEdit {
  Q_OBJECT
 public:
  explicit PropertyField(QWidget* parent = nullptr);

  // Shows a value from the document: the text is replaced only when it differs (so the caret
  // stays), and not while the user is typing here.
  void showValue(const QString& text);
  // The user has changed the text since typing last ended.
  bool isTyping() const { return typing_; }
  // Forgets the typing, so the next showValue rewrites the text (another node is shown).
  void forgetTyping() { typing_ = false; }

 signals:
  // The user typed here, and now the focus left the field or Enter was pressed.
  void typingEnded();

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void endTyping();

  bool typing_ = false;
};

}  // namespace orvane
