#pragma once

#include <QColor>
#include <QDialog>

#include "tools/batch/batch_conversion.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace orvane {

class FileDialogs;

// The modal dialog "一括変換": the input and output folders (typed, or chosen in the folder
// browser with "..."), the picture type, the scale, colour correction and blur, and the
// background: the checker pattern or one colour from the colour chooser, shown in a swatch.
// "変換開始" checks the folders and the scale first; a problem is named in a message and the
// dialog stays open (a missing output folder is created). When it ends with Accepted, settings()
// holds the choices.
class BatchOptionsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit BatchOptionsDialog(FileDialogs& dialogs, QWidget* parent = nullptr);

  const BatchSettings& settings() const { return settings_; }
  QLineEdit* inputEdit() const { return input_; }
  QLineEdit* outputEdit() const { return output_; }
  QComboBox* typeList() const { return types_; }
  QLineEdit* scaleEdit() const { return scale_; }
  QCheckBox* colourCorrection() const { return colourCorrection_; }
  QCheckBox* blur() const { return blur_; }
  QRadioButton* checker() const { return checker_; }
  QRadioButton* solid() const { return solid_; }
  QPushButton* colourButton() const { return colourButton_; }
  QColor swatchColour() const { return swatchColour_; }

  // The buttons' commands.
  void chooseFolder(QLineEdit* edit);
  void chooseColour();

 public slots:
  void accept() override;

 private:
  void showSwatch();
  void chooseBackground(bool solid);

  FileDialogs& dialogs_;
  BatchSettings settings_;
  QLineEdit* input_;
  QLineEdit* output_;
  QComboBox* types_;
  QLineEdit* scale_;
  QCheckBox* colourCorrection_;
  QCheckBox* blur_;
  QRadioButton* checker_;
  QRadioButton* solid_;
  QLabel* swatch_;
  QPushButton* colourButton_;
  QColor swatchColour_;
};

}  // namespace orvane
