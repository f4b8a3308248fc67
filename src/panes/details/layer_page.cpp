#include "panes/details/layer_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "app/shell/application.h"
#include "app/shell/layer_colour.h"
#include "app/shell/number_field.h"
#include "catalogue/part_catalogue.h"
#include "panes/details/colour_chooser.h"
#include "panes/details/colour_swatch.h"
#include "panes/details/part_list.h"
#include "panes/details/property_field.h"

namespace orvane {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QColor rgbOf(std::uint32_t color) {
  return QColor(int(color >> 16 & 0xFF), int(color >> 8 & 0xFF), int(color & 0xFF));
}

}  // namespace

LayerPage::LayerPage(Application& application,
                     std::array<PaletteColour, kPaletteColours>& customColours, QWidget* parent)
    : PropertyPage(application, NodeKind::Layer, parent), customColours_(customColours) {
  name_ = makeField(false);
  name_->setMaxLength(int(kMaxNameUnits));
  part_ = new QComboBox(this);
  part_->setObjectName(QStringLiteral("partList"));
  fillPartList(*part_, application_.atlas());
  swatch_ = new ColourSwatch(
      [this]() -> std::optional<QColor> {
        const EmblemNode* node = application_.currentSelection();
        if (!node || node->kind() != NodeKind::Layer) return std::nullopt;
        return rgbOf(node->layer().color);  // the opacity is not shown
      },
      this);
  colourButton_ = new QPushButton(QStringLiteral("選択..."), this);
  opacity_ = new QSlider(Qt::Horizontal, this);
  opacity_->setRange(0, kOpacityLevels - 1);
  opacity_->setPageStep(1);
  opacity_->setTickInterval(1);
  opacity_->setTickPosition(QSlider::TicksBelow);
  colourText_ = makeField(false);
  for (PropertyField*& field : vertices_) field = makeField(true);
  layOut();
  connectEdits();
}

void LayerPage::layOut() {
  QGridLayout* grid = makeGrid();
  int row = 0;
  auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
  auto add = [&](const char* text, QWidget* control) {
    grid->addWidget(label(text), row, 0);
    grid->addWidget(control, row++, 1, 1, 2);
  };
  add("パーツ名", name_);
  add("パーツ", part_);
  auto* colour = new QHBoxLayout;
  colour->addWidget(swatch_, 1);
  colour->addWidget(colourButton_);
  grid->addWidget(label("色"), row, 0);
  grid->addLayout(colour, row++, 1, 1, 2);
  add("不透明度", opacity_);
  add("色 (R,G,B,A)", colourText_);
  grid->addWidget(label("X"), row, 1, Qt::AlignHCenter);
  grid->addWidget(label("Y"), row++, 2, Qt::AlignHCenter);
  const char* vertexNames[] = {"頂点1", "頂点2", "頂点3", "頂点4"};
  for (int vertex = 0; vertex < 4; ++vertex, ++row) {
    grid->addWidget(label(vertexNames[vertex]), row, 0);
    grid->addWidget(vertices_[std::size_t(vertex * 2)], row, 1);
    grid->addWidget(vertices_[std::size_t(vertex * 2 + 1)], row, 2);
  }
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
}

void LayerPage::connectEdits() {
  connect(name_, &QLineEdit::textChanged, this, [this](const QString& text) {
    EmblemNode* layer = editedNode();
    if (!layer) return;
    EmblemDocument::setName(layer, text.toStdU16String());
    recordEdit("名前の変更", "name");
  });
  connect(part_, &QComboBox::currentIndexChanged, this, [this](int index) {
    // No entry selected stores part 0.
    if (storeChange([index](LayerRecord& r) { r.partId = std::max(index, 0); })) {
      recordEdit("パーツの変更");
    }
  });
  connect(colourText_, &QLineEdit::textChanged, this, [this](const QString& text) {
    const std::uint32_t color = colourFromText(text.toStdString());
    if (storeChange([color](LayerRecord& r) { r.color = color; })) recordEdit("色の変更", "colour");
  });
  connect(opacity_, &QSlider::valueChanged, this, [this](int level) {
    const bool stored =
        storeChange([level](LayerRecord& r) { r.color = withOpacityLevel(r.color, level); });
    // A drag of the handle is one step, recorded when it is let go.
    if (stored && !opacity_->isSliderDown()) recordEdit("不透明度の変更");
  });
  connect(opacity_, &QSlider::sliderReleased, this, [this] {
    if (editedNode()) recordEdit("不透明度の変更");
  });
  for (VertexField field : kVertexFields) {
    connect(vertexField(field), &QLineEdit::textChanged, this, [this, field](const QString& text) {
      const std::int32_t value = numberFieldValue(text.toStdString());
      if (storeChange([field, value](LayerRecord& r) { coordinateOf(r, field) = value; })) {
        recordEdit("頂点の変更", vertexFieldName(field));
      }
    });
  }
  connect(colourButton_, &QPushButton::clicked, this, &LayerPage::chooseLayerColour);
}

template <typename Change>
bool LayerPage::storeChange(Change change) {
  EmblemNode* layer = editedNode();
  if (!layer) return false;
  LayerRecord record = settledRecord(layer->layer());
  change(record);
  EmblemDocument::setLayerRecord(layer, record);
  return true;
}

void LayerPage::fill(const EmblemNode& layer) {
  const Refreshing refreshing(*this);
  const LayerRecord record = settledRecord(layer.layer());
  name_->showValue(QString::fromStdU16String(layer.name()));
  const int part =
      record.partId >= 0 && std::uint32_t(record.partId) < kPartCount ? record.partId : -1;
  if (part_->currentIndex() != part) part_->setCurrentIndex(part);
  colourText_->showValue(qt(colourText(record.color)));
  for (VertexField field : kVertexFields) {
    vertexField(field)->showValue(qt(numberFieldText(coordinateOf(record, field))));
  }
  // Not while the handle is held: the drag itself is moving it.
  if (!opacity_->isSliderDown()) opacity_->setValue(opacityLevel(record.color));
  swatch_->update();
}

void LayerPage::chooseLayerColour() {
  const EmblemNode* layer = editedNode();
  if (!layer) return;
  const std::optional<QColor> chosen =
      chooseColour(this, rgbOf(layer->layer().color), customColours_);
  if (!chosen) return;
  const bool stored = storeChange([&chosen](LayerRecord& r) {
    r.color = withChosenColour(r.color, std::uint8_t(chosen->red()), std::uint8_t(chosen->green()),
                               std::uint8_t(chosen->blue()));
  });
  if (stored) recordEdit("色の変更");
}

}  // namespace orvane
