#include "app/tools/block_art_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/file_dialogs.h"
#include "app/tools/size_choice.h"
#include "app/tools/tool_part_list.h"
#include "catalogue/part_catalogue.h"

namespace orvane {

BlockArtDialog::BlockArtDialog(BlockArtSettings& settings, FileDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      dialogs_(dialogs),
      path_(new QLineEdit(this)),
      size_(new SizeChoice({settings.width, settings.height}, this)),
      parts_(new QComboBox(this)) {
  setWindowTitle(QStringLiteral("ブロックアート作成"));
  setObjectName(QStringLiteral("BlockArtDialog"));
  path_->setObjectName(QStringLiteral("picturePath"));
  path_->setText(QString::fromStdString(settings.picturePath.string()));
  path_->setMinimumWidth(path_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
  auto* browse = new QPushButton(QStringLiteral("..."), this);
  browse->setObjectName(QStringLiteral("browse"));
  browse->setAutoDefault(false);
  browse->setMaximumWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
  connect(browse, &QPushButton::clicked, this, &BlockArtDialog::choosePicture);
  parts_->setObjectName(QStringLiteral("parts"));
  fillToolPartList(*parts_);
  parts_->setCurrentIndex(std::clamp(settings.part, 0, int(kPartCount) - 1));

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("入力ファイル")), 0, 0);
  grid->addWidget(path_, 0, 1, 1, 3);
  grid->addWidget(browse, 0, 4);
  grid->addWidget(new QLabel(QStringLiteral("サイズ")), 1, 0);
  grid->addWidget(size_->list(), 1, 1, 1, 4);
  grid->addWidget(new QLabel(QStringLiteral("横幅")), 2, 0);
  grid->addLayout(size_->makeEditsRow(), 2, 1, 1, 4);
  grid->addWidget(new QLabel(QStringLiteral("パーツ")), 3, 0);
  grid->addWidget(parts_, 3, 1, 1, 4);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &BlockArtDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->addWidget(buttons, 4, 0, 1, 5);
}

void BlockArtDialog::choosePicture() {
  if (const std::optional<QString> path =
          dialogs_.askToolFile(this, {ToolFileQuestion::Mode::Open, QStringLiteral("入力ファイル"),
                                      pictureFileFilters(), path_->text()})) {
    path_->setText(*path);
  }
}

void BlockArtDialog::warn(const QString& text) {
  dialogs_.showMessage(this, {MessageText::Icon::Warning, windowTitle(), text, {}});
}

void BlockArtDialog::accept() {
  const QString path = path_->text().trimmed();
  if (path.isEmpty()) {
    warn(QStringLiteral("入力ファイルを指定してください。"));
    return;
  }
  const ToolSize size = size_->size();
  if (const auto problem = sizeProblem(size)) {
    warn(QString::fromStdString(*problem));
    return;
  }
  const std::filesystem::path file(path.toUtf8().toStdString());
  std::string reason;
  Picture picture;
  const bool read = readPictureFile(file, picture, &reason);
  const bool empty = picture.width <= 0 || picture.height <= 0;
  if (read && empty) reason = "the picture has no pixels";
  if (!read || empty) {
    warn(QStringLiteral("画像ファイルを読み込めませんでした。\n%1\n\n%2")
             .arg(path, QString::fromStdString(reason)));
    return;
  }
  picture_ = std::move(picture);
  settings_.picturePath = file;
  settings_.width = size.width;
  settings_.height = size.height;
  settings_.part = parts_->currentIndex();
  QDialog::accept();
}

}  // namespace orvane
