#include "app/tools/parameter_sliders.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

#include "tools/randomart/random_art_state.h"

namespace orvane {
namespace {

constexpr std::array<const char*, kParameterCount> kLabels = {
    "レイヤー数最小値", "レイヤー数最大値", "レイヤー追加率", "レイヤー削除率", "表示順変更率",
    "座標最大移動率",   "座標中間移動率",   "座標最小移動率", "座標中間移動幅", "座標最小移動幅",
    "赤色変動率",       "赤色最小値",       "赤色最大値",     "緑色変動率",     "緑色最小値",
    "緑色最大値",       "青色変動率",       "青色最小値",     "青色最大値",     "不透明度変動率",
    "不透明度最小値",   "不透明度最大値",   "パーツ変動率",   "パーツ最小値",   "パーツ最大値",
};

// Shows the value just above the slider's thumb.
void showValueTip(QSlider* slider, int value) {
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.orientation = slider->orientation();
  option.minimum = slider->minimum();
  option.maximum = slider->maximum();
  option.sliderPosition = value;
  option.sliderValue = value;
  const QRect thumb =
      slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
  QToolTip::showText(slider->mapToGlobal(QPoint(thumb.center().x(), thumb.top() - 24)),
                     QString::number(value), slider);
}

}  // namespace

QString parameterLabel(int index) { return QString::fromUtf8(kLabels.at(std::size_t(index))); }

ParameterSliders::ParameterSliders(LiveParameters& parameters, QWidget* parent)
    : QGroupBox(QStringLiteral("パラメータ"), parent), parameters_(parameters) {
  auto* grid = new QGridLayout(this);
  grid->setVerticalSpacing(0);
  grid->setColumnStretch(1, 1);
  for (int index = 0; index < kParameterCount; ++index) {
    const ParameterInfo& info = kParameterTable[std::size_t(index)];
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setObjectName(QString::fromUtf8(info.name.data(), qsizetype(info.name.size())));
    slider->setRange(info.min, info.max);
    slider->setSingleStep(1);
    slider->setPageStep(1);
    slider->setTickPosition(QSlider::NoTicks);
    slider->setMinimumWidth(160);
    slider->setValue(parameters_.get(index));
    connect(slider, &QSlider::valueChanged, this,
            [this, index](int value) { parameters_.set(index, value); });
    connect(slider, &QSlider::sliderMoved, slider,
            [slider](int value) { showValueTip(slider, value); });
    connect(slider, &QSlider::sliderPressed, slider,
            [slider] { showValueTip(slider, slider->value()); });
    connect(slider, &QSlider::sliderReleased, slider, [] { QToolTip::hideText(); });
    auto* label = new QLabel(parameterLabel(index), this);
    label->setBuddy(slider);
    grid->addWidget(label, index, 0);
    grid->addWidget(slider, index, 1);
    sliders_[std::size_t(index)] = slider;
  }
}

void ParameterSliders::showParameters() {
  for (int index = 0; index < kParameterCount; ++index) {
    slider(index)->setValue(parameters_.get(index));
  }
}

}  // namespace orvane
