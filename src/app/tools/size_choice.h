#pragma once

#include <QObject>

#include "app/shell/tool_input.h"

class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QWidget;

namespace orvane {

// The size list of the random-art and block-art dialogs with its two number edits: "標準サイズ"
// writes 192 and 96 into the edits and disables them, "小型サイズ" writes 32 and 32 and disables
// them, "直接指定" enables them and keeps their texts. The dialogs lay the list and the row of
// edits out.
class SizeChoice : public QObject {
  Q_OBJECT
 public:
  // Makes the controls (children of `parent`) showing `initial`.
  SizeChoice(ToolSize initial, QWidget* parent);

  QComboBox* list() const { return list_; }
  QLineEdit* widthEdit() const { return width_; }
  QLineEdit* heightEdit() const { return height_; }
  // A new row of the two edits with "高さ" between them, for the cell right of a "横幅" label.
  QHBoxLayout* makeEditsRow() const;

  // The size the edits hold, each read like atoi (an empty or non-numeric text gives 0).
  ToolSize size() const;
  // Selects the entry that shows `size` and writes it into the edits.
  void showSize(ToolSize size);

 signals:
  // Whenever the text of either edit changed, the list's own writes included.
  void sizeEdited(int width, int height);

 private:
  void presetChosen(int index);

  QComboBox* list_;
  QLineEdit* width_;
  QLineEdit* height_;
};

}  // namespace orvane
