#include "panes/details/info_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRegularExpressionValidator>

#include "app/shell/application.h"
#include "app/shell/info_fields.h"
#include "app/shell/number_field.h"
#include "panes/details/property_field.h"

namespace orvane {
namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

void showIndex(QComboBox* list, int index) {
  if (list->currentIndex() != index) list->setCurrentIndex(index);
}

}  // namespace

InfoPage::InfoPage(Application& application, QWidget* parent)
    : PropertyPage(application, NodeKind::Info, parent) {
  name_ = makeField(false);
  name_->setMaxLength(int(kMaxNameUnits));
  author_ = makeField(true);
  layerCount_ = new QLabel(this);
  size_ = new QComboBox(this);
  width_ = makeField(true);
  height_ = makeField(true);
  sound_ = new QComboBox(this);
  // The author ID and the size take digits only.
  auto* digits =
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this);
  for (PropertyField* field : {author_, width_, height_}) field->setValidator(digits);
  for (std::string_view label : kSizePresetLabels) size_->addItem(qt(label));
  for (std::string_view sound : kSoundNames) sound_->addItem(qt(sound));

  QGridLayout* grid = makeGrid();
  int row = 0;
  auto add = [&](const char* label, QWidget* control) {
    grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
    grid->addWidget(control, row++, 1);
  };
  add("オーヴェイン名", name_);
  add("作者ID", author_);
  add("レイヤー数", layerCount_);
  add("サイズ", size_);
  add("横幅", width_);
  add("高さ", height_);
  add("効果音", sound_);
  grid->setColumnStretch(1, 1);

  connect(name_, &QLineEdit::textChanged, this, &InfoPage::nameEdited);
  connect(author_, &QLineEdit::textChanged, this, [this](const QString& text) {
    numberEdited(text, &EmblemInfo::authorId, "作者IDの変更", "author");
  });
  connect(width_, &QLineEdit::textChanged, this, [this](const QString& text) {
    numberEdited(text, &EmblemInfo::width, "横幅の変更", "width");
  });
  connect(height_, &QLineEdit::textChanged, this, [this](const QString& text) {
    numberEdited(text, &EmblemInfo::height, "高さの変更", "height");
  });
  connect(size_, &QComboBox::currentIndexChanged, this, &InfoPage::sizeChosen);
  connect(sound_, &QComboBox::currentIndexChanged, this, &InfoPage::soundChosen);
}

void InfoPage::fill(const EmblemNode& root) {
  const Refreshing refreshing(*this);
  const EmblemInfo& info = root.info();
  name_->showValue(QString::fromStdU16String(root.name()));
  author_->showValue(qt(numberFieldText(info.authorId)));
  const QString count = qt(layerCountText(EmblemDocument::countKind(&root, NodeKind::Layer)));
  if (layerCount_->text() != count) layerCount_->setText(count);
  width_->showValue(qt(numberFieldText(info.width)));
  height_->showValue(qt(numberFieldText(info.height)));
  // While a size is being typed it passes through the presets' sizes ("32" on the way to
  // "320"); the list follows once the typing is over, so the field is not disabled under it.
  if (!width_->isTyping() && !height_->isTyping()) {
    const SizePreset preset = sizePresetOf({info.width, info.height});
    showIndex(size_, static_cast<int>(preset));
    width_->setEnabled(sizeFieldsEditable(preset));
    height_->setEnabled(sizeFieldsEditable(preset));
  }
  showIndex(sound_, soundEntryOf(info.sound).value_or(-1));
}

void InfoPage::nameEdited(const QString& text) {
  EmblemNode* root = editedNode();
  if (!root) return;
  EmblemDocument::setName(root, text.toStdU16String());
  recordEdit("名前の変更", "name");
}

void InfoPage::numberEdited(const QString& text, std::int32_t EmblemInfo::*value, const char* step,
                            const char* field) {
  EmblemNode* root = editedNode();
  if (!root) return;
  EmblemInfo info = root->info();
  info.*value = numberFieldValue(text.toStdString());
  EmblemDocument::setInfo(root, info);
  recordEdit(step, field);
}

void InfoPage::sizeChosen(int index) {
  EmblemNode* root = editedNode();
  if (!root || index < 0) return;
  const auto preset = static_cast<SizePreset>(index);
  width_->setEnabled(sizeFieldsEditable(preset));
  height_->setEnabled(sizeFieldsEditable(preset));
  // Direct entry only opens the fields; a preset stores its size (one step for both numbers).
  if (const auto size = presetSize(preset)) {
    EmblemInfo info = root->info();
    info.width = size->width;
    info.height = size->height;
    EmblemDocument::setInfo(root, info);
    recordEdit("サイズの変更");
  }
}

void InfoPage::soundChosen(int index) {
  EmblemNode* root = editedNode();
  if (!root) return;
  EmblemInfo info = root->info();
  info.sound = index < 0 ? 0 : index;
  EmblemDocument::setInfo(root, info);
  recordEdit("効果音の変更");
}

}  // namespace orvane
