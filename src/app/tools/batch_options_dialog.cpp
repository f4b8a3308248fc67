#include "app/tools/batch_options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/file_dialogs.h"
#include "app/shell/batch_run_rules.h"
#include "app/shell/tool_input.h"

namespace orvane {
namespace {

QPushButton* browseButton(QWidget* parent, const char* name) {
  auto* button = new QPushButton(QStringLiteral("..."), parent);
  button->setObjectName(QLatin1String(name));
  button->setAutoDefault(false);
  button->setMaximumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
  return button;
}

std::filesystem::path fsPath(const QString& text) {
  return std::filesystem::path(text.trimmed().toUtf8().toStdString());
}

}  // namespace

BatchOptionsDialog::BatchOptionsDialog(FileDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      input_(new QLineEdit(this)),
      output_(new QLineEdit(this)),
      types_(new QComboBox(this)),
      scale_(new QLineEdit(QStringLiteral("1"), this)),
      colourCorrection_(new QCheckBox(QStringLiteral("色調補正"), this)),
      blur_(new QCheckBox(QStringLiteral("ぼかし"), this)),
      checker_(new QRadioButton(QStringLiteral("チェック模様"))),
      solid_(new QRadioButton(QStringLiteral("単色"))),
      swatch_(new QLabel),
      colourButton_(browseButton(this, "colour")),
      swatchColour_(QColor::fromRgb(0xFF000000u | settings_.picture.backgroundColour)) {
  setWindowTitle(QStringLiteral("一括変換"));
  setObjectName(QStringLiteral("BatchOptionsDialog"));
  input_->setObjectName(QStringLiteral("inputFolder"));
  output_->setObjectName(QStringLiteral("outputFolder"));
  input_->setMinimumWidth(input_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);
  types_->addItems({QStringLiteral("BMP ファイル"), QStringLiteral("JPEG ファイル"),
                    QStringLiteral("TGA ファイル"), QStringLiteral("PNG ファイル")});
  types_->setCurrentIndex(int(settings_.format));
  scale_->setAlignment(Qt::AlignRight);
  scale_->setMaximumWidth(scale_->fontMetrics().horizontalAdvance(QStringLiteral("0000.00")) + 12);
  colourCorrection_->setChecked(settings_.picture.colourConversion);
  blur_->setChecked(settings_.picture.blur);
  checker_->setChecked(true);
  colourButton_->setEnabled(false);
  swatch_->setObjectName(QStringLiteral("swatch"));
  swatch_->setFixedSize(40, 20);
  showSwatch();

  QPushButton* browseInput = browseButton(this, "browseInput");
  QPushButton* browseOutput = browseButton(this, "browseOutput");
  connect(browseInput, &QPushButton::clicked, this, [this] { chooseFolder(input_); });
  connect(browseOutput, &QPushButton::clicked, this, [this] { chooseFolder(output_); });
  connect(checker_, &QRadioButton::clicked, this, [this] { chooseBackground(false); });
  connect(solid_, &QRadioButton::clicked, this, [this] { chooseBackground(true); });
  connect(colourButton_, &QPushButton::clicked, this, &BatchOptionsDialog::chooseColour);

  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("入力フォルダ")), 0, 0);
  grid->addWidget(input_, 0, 1, 1, 2);
  grid->addWidget(browseInput, 0, 3);
  grid->addWidget(new QLabel(QStringLiteral("出力フォルダ")), 1, 0);
  grid->addWidget(output_, 1, 1, 1, 2);
  grid->addWidget(browseOutput, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("ファイルの種類")), 2, 0);
  grid->addWidget(types_, 2, 1, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("拡大率")), 3, 0);
  auto* scaleRow = new QHBoxLayout;
  scaleRow->addWidget(scale_);
  scaleRow->addWidget(new QLabel(QStringLiteral("倍")));
  scaleRow->addStretch(1);
  grid->addLayout(scaleRow, 3, 1, 1, 3);
  grid->addWidget(colourCorrection_, 4, 1, 1, 3);
  grid->addWidget(blur_, 5, 1, 1, 3);
  auto* background = new QGroupBox(QStringLiteral("背景色"), this);
  auto* backgroundRow = new QHBoxLayout(background);
  backgroundRow->addWidget(checker_);
  backgroundRow->addWidget(solid_);
  backgroundRow->addWidget(swatch_);
  backgroundRow->addWidget(colourButton_);
  backgroundRow->addStretch(1);
  grid->addWidget(background, 6, 0, 1, 4);
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* start = buttons->addButton(QStringLiteral("変換開始"), QDialogButtonBox::AcceptRole);
  start->setObjectName(QStringLiteral("start"));
  start->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &BatchOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->addWidget(buttons, 7, 0, 1, 4);
}

void BatchOptionsDialog::chooseFolder(QLineEdit* edit) {
  if (const std::optional<QString> folder = dialogs_.askFolder(
          this, QStringLiteral("対象フォルダを指定してください。"), edit->text())) {
    edit->setText(*folder);
  }
}

void BatchOptionsDialog::chooseBackground(bool solid) {
  checker_->setChecked(!solid);
  solid_->setChecked(solid);
  colourButton_->setEnabled(solid);
}

void BatchOptionsDialog::chooseColour() {
  if (const std::optional<QColor> colour = dialogs_.askColour(this, swatchColour_)) {
    swatchColour_ = *colour;
    showSwatch();
  }
}

void BatchOptionsDialog::showSwatch() {
  swatch_->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid palette(mid);")
                             .arg(swatchColour_.name()));
}

void BatchOptionsDialog::accept() {
  auto refuse = [this](const std::string& problem) {
    dialogs_.showMessage(
        this, {MessageText::Icon::Warning, windowTitle(), QString::fromStdString(problem), {}});
  };
  const std::filesystem::path input = fsPath(input_->text());
  const std::filesystem::path output = fsPath(output_->text());
  if (const auto problem = inputFolderProblem(input)) return refuse(*problem);
  const std::optional<float> scale = scaleFromText(scale_->text().toStdString());
  if (!scale) return refuse(scaleProblem());
  if (const auto problem = outputFolderProblem(output)) return refuse(*problem);
  settings_.inputFolder = input;
  settings_.outputFolder = output;
  settings_.format = ImageFormat(types_->currentIndex());
  settings_.picture.scale = *scale;
  settings_.picture.colourConversion = colourCorrection_->isChecked();
  settings_.picture.blur = blur_->isChecked();
  settings_.picture.checkerBackground = checker_->isChecked();
  settings_.picture.backgroundColour = swatchColour_.rgb() & 0x00FFFFFFu;
  settings_.jobs = 0;  // one worker per core
  QDialog::accept();
}

}  // namespace orvane
