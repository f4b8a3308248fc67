#pragma once

#include <QDialog>

#include "render/picture_file.h"
#include "tools/blockart/block_art.h"

class QComboBox;
class QLineEdit;

namespace orvane {

class FileDialogs;
class SizeChoice;

// The modal dialog "ブロックアート作成": the picture (typed or chosen with "..."), the size the
// mosaic is laid out for and the part of its squares. OK reads the picture at once: a path that
// is empty or names no readable picture, or a size the tool cannot use, is refused with a
// message naming it and the dialog stays open. When it ends with Accepted, the settings hold the
// choices and picture() the picture read.
class BlockArtDialog : public QDialog {
  Q_OBJECT
 public:
  BlockArtDialog(BlockArtSettings& settings, FileDialogs& dialogs, QWidget* parent = nullptr);

  const Picture& picture() const { return picture_; }
  QLineEdit* pathEdit() const { return path_; }
  SizeChoice* sizeChoice() const { return size_; }
  QComboBox* partList() const { return parts_; }

  // The "..." button: the picture chooser, whose answer goes into the path edit.
  void choosePicture();

 public slots:
  void accept() override;

 private:
  void warn(const QString& text);

  BlockArtSettings& settings_;
  FileDialogs& dialogs_;
  Picture picture_;
  QLineEdit* path_;
  SizeChoice* size_;
  QComboBox* parts_;
};

}  // namespace orvane
