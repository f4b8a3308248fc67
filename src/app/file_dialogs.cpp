#include "app/file_dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "app/shell/file_types.h"
#include "app/shell/window_title.h"

namespace orvane {
namespace {

QStringList filterTexts(std::span<const FileFilter> filters) {
  QStringList texts;
  for (const FileFilter& filter : filters) {
    texts << QString::fromStdString(dialogFilterText(filter));
  }
  return texts;
}

std::optional<ChosenFile> ask(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title,
                              std::span<const FileFilter> filters, const QString& folder,
                              const QString& file, int filterIndex) {
  QFileDialog dialog(parent, title, folder);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  const QStringList texts = filterTexts(filters);
  dialog.setNameFilters(texts);
  if (filterIndex >= 1 && filterIndex <= texts.size())
    dialog.selectNameFilter(texts[filterIndex - 1]);
  if (!file.isEmpty()) dialog.selectFile(file);
  // The program adds the extension itself, by the chosen type's rules.
  dialog.setDefaultSuffix(QString());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ChosenFile{dialog.selectedFiles().first(),
                    static_cast<int>(texts.indexOf(dialog.selectedNameFilter())) + 1};
}

}  // namespace

QString programTitle() { return QString::fromUtf8(kProgramTitle.data(), kProgramTitle.size()); }

std::optional<ChosenFile> QtFileDialogs::askOpen(QWidget* parent, const QString& folder,
                                                 const QString& file, int filterIndex) {
  return ask(parent, QFileDialog::AcceptOpen, QStringLiteral("開く"), openFileFilters(), folder,
             file, filterIndex);
}

std::optional<ChosenFile> QtFileDialogs::askSave(QWidget* parent, const QString& folder,
                                                 const QString& file, int filterIndex) {
  return ask(parent, QFileDialog::AcceptSave, QStringLiteral("名前を付けて保存"), saveFileFilters(),
             folder, file, filterIndex);
}

void QtFileDialogs::tell(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, programTitle(), text, QMessageBox::Ok, parent);
  box.exec();
}

FileDialogs::SaveChoice QtFileDialogs::askSaveChanges(QWidget* parent) {
  QMessageBox box(QMessageBox::Question, programTitle(), QStringLiteral("変更を保存しますか？"),
                  QMessageBox::NoButton, parent);
  QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("保存しない"), QMessageBox::DestructiveRole);
  box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.exec();
  if (box.clickedButton() == save) return SaveChoice::Save;
  if (box.clickedButton() == discard) return SaveChoice::Discard;
  return SaveChoice::Cancel;
}

bool QtFileDialogs::askRestore(QWidget* parent, const QString& originalPath) {
  QString text = QStringLiteral("前回終了時に保存されていない編集内容があります。復元しますか？");
  if (!originalPath.isEmpty()) text += QStringLiteral("\n\n") + originalPath;
  QMessageBox box(QMessageBox::Question, programTitle(), text, QMessageBox::NoButton, parent);
  QPushButton* restore = box.addButton(QStringLiteral("復元"), QMessageBox::AcceptRole);
  box.addButton(QStringLiteral("破棄"), QMessageBox::DestructiveRole);
  box.setDefaultButton(restore);
  box.exec();
  return box.clickedButton() == restore;
}

bool QtFileDialogs::askReload(QWidget* parent, const QString& path) {
  QMessageBox box(QMessageBox::Question, programTitle(),
                  QStringLiteral("ファイルが他のプログラムによって変更されました。\n%1\n\n"
                                 "再読み込みしますか？ 編集内容は失われます。")
                      .arg(path),
                  QMessageBox::NoButton, parent);
  QPushButton* reload = box.addButton(QStringLiteral("再読み込み"), QMessageBox::AcceptRole);
  QPushButton* keep = box.addButton(QStringLiteral("編集を残す"), QMessageBox::RejectRole);
  box.setDefaultButton(keep);
  box.exec();
  return box.clickedButton() == reload;
}

std::optional<QString> QtFileDialogs::askToolFile(QWidget* parent,
                                                  const ToolFileQuestion& question) {
  const bool save = question.mode == ToolFileQuestion::Mode::Save;
  QFileDialog dialog(parent, question.title);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (save) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilters(filterTexts(question.filters));
  if (!question.start.isEmpty()) dialog.selectFile(question.start);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QString> QtFileDialogs::askFolder(QWidget* parent, const QString& title,
                                                const QString& start) {
  const QString folder = QFileDialog::getExistingDirectory(parent, title, start);
  if (folder.isEmpty()) return std::nullopt;
  return folder;
}

std::optional<QColor> QtFileDialogs::askColour(QWidget* parent, const QColor& current) {
  // QColorDialog keeps its custom colours in the process, so they last for the whole run.
  QColorDialog dialog(current, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedColor();
}

void QtFileDialogs::showMessage(QWidget* parent, const MessageText& message) {
  QMessageBox box(
      message.icon == MessageText::Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon,
      message.caption, message.text, QMessageBox::Ok, parent);
  if (!message.details.isEmpty()) box.setDetailedText(message.details);
  box.exec();
}

}  // namespace orvane
