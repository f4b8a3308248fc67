#include "app/tools/size_choice.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace orvane {
namespace {

QLineEdit* numberEdit(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  // A number edit: digits only, as many as an int32 holds.
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,10}"), edit));
  edit->setAlignment(Qt::AlignRight);
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12);
  return edit;
}

}  // namespace

SizeChoice::SizeChoice(ToolSize initial, QWidget* parent)
    : QObject(parent),
      list_(new QComboBox(parent)),
      width_(numberEdit(parent, "width")),
      height_(numberEdit(parent, "height")) {
  list_->setObjectName(QStringLiteral("size"));
  list_->addItems(
      {QStringLiteral("標準サイズ"), QStringLiteral("小型サイズ"), QStringLiteral("直接指定")});
  showSize(initial);
  connect(list_, &QComboBox::currentIndexChanged, this, &SizeChoice::presetChosen);
  auto edited = [this] {
    const ToolSize now = size();
    emit sizeEdited(now.width, now.height);
  };
  connect(width_, &QLineEdit::textChanged, this, edited);
  connect(height_, &QLineEdit::textChanged, this, edited);
}

ToolSize SizeChoice::size() const {
  return {numberFromText(width_->text().toStdString()),
          numberFromText(height_->text().toStdString())};
}

void SizeChoice::showSize(ToolSize size) {
  const SizePreset preset = sizePresetOf(size);
  list_->setCurrentIndex(int(preset));
  width_->setText(QString::number(size.width));
  height_->setText(QString::number(size.height));
  width_->setEnabled(preset == SizePreset::Direct);
  height_->setEnabled(preset == SizePreset::Direct);
}

void SizeChoice::presetChosen(int index) {
  const auto preset = SizePreset(index);
  if (const std::optional<ToolSize> size = presetSize(preset)) {
    width_->setText(QString::number(size->width));
    height_->setText(QString::number(size->height));
  }
  width_->setEnabled(preset == SizePreset::Direct);
  height_->setEnabled(preset == SizePreset::Direct);
}

QHBoxLayout* SizeChoice::makeEditsRow() const {
  auto* row = new QHBoxLayout;
  row->addWidget(width_);
  row->addSpacing(12);
  row->addWidget(new QLabel(QStringLiteral("高さ")));
  row->addWidget(height_);
  row->addStretch(1);
  return row;
}

}  // namespace orvane
