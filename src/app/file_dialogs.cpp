#include "app/file_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
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

}  // namespace orvane
