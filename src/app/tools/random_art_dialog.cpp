#include "app/tools/random_art_dialog.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <tuple>

#include "app/shell/random_art_controls.h"
#include "app/tools/parameter_sliders.h"
#include "app/tools/picture_box.h"
#include "app/tools/size_choice.h"
#include "app/tools/tool_part_list.h"
#include "catalogue/part_catalogue.h"
#include "formats/parts_atlas.h"

namespace orvane {
namespace {

// About 20 looks a second: smooth counters, and little time taken from the worker.
constexpr int kRefreshMilliseconds = 50;
constexpr int kPartMinIndex = 23;
constexpr int kPartMaxIndex = 24;

}  // namespace

int RandomArtDialog::pictureZoomFor(int height) {
  // Three boxes of 96 rows each above one another, plus the menu, labels and frame.
  constexpr int kOtherRows = 200;
  return height >= 3 * 96 * 2 + kOtherRows ? 2 : 1;
}

RandomArtDialog::RandomArtDialog(RandomArtState& state, const PartsAtlasBuffer& atlas,
                                 RandomGenerator& random, FileDialogs& dialogs, QWidget* parent)
    : QDialog(parent), state_(state), atlas_(atlas), dialogs_(dialogs), run_(state, atlas, random) {
  setWindowTitle(QStringLiteral("ランダムアート作成"));
  setObjectName(QStringLiteral("RandomArtDialog"));
  const QScreen* shown = parent ? parent->screen() : screen();
  const int zoom = pictureZoomFor(shown ? shown->availableGeometry().height() : 0);

  auto* columns = new QHBoxLayout(this);
  columns->setMenuBar(buildMenu());
  columns->addWidget(buildPictures(zoom), 0, Qt::AlignTop);
  columns->addWidget(buildControls(), 0);
  sliders_ = new ParameterSliders(state_.parameters, this);
  columns->addWidget(sliders_, 1);
  showMode();

  // Without the atlas nothing can be drawn; the dialog stays open without a worker.
  workerReady_ = !atlas_.empty() && run_.launch();
  refresh_ = new QTimer(this);
  refresh_->setInterval(kRefreshMilliseconds);
  connect(refresh_, &QTimer::timeout, this, &RandomArtDialog::showLatest);
  if (workerReady_) refresh_->start();
}

RandomArtDialog::~RandomArtDialog() { run_.close(); }

QAction* RandomArtDialog::addCommand(QMenu* menu, Command command, const QString& text) {
  QAction* action = menu->addAction(text);
  action->setObjectName(QStringLiteral("command%1").arg(int(command)));
  actions_[command] = action;
  return action;
}

QMenuBar* RandomArtDialog::buildMenu() {
  auto* bar = new QMenuBar(this);
  QMenu* dna = bar->addMenu(QStringLiteral("DNAファイル(&F)"));
  addCommand(dna, NewDna, QStringLiteral("新規(&N)"))->setEnabled(false);
  connect(addCommand(dna, ImportDna, QStringLiteral("インポート(&I)...")), &QAction::triggered,
          this, &RandomArtDialog::importDna);
  connect(addCommand(dna, ExportDna, QStringLiteral("エクスポート(&E)...")), &QAction::triggered,
          this, &RandomArtDialog::exportDna);
  QAction* autoExport = addCommand(dna, AutoExport, QStringLiteral("定期的に自動エクスポート(&A)"));

  QMenu* simulation = bar->addMenu(QStringLiteral("シミュレーション(&S)"));
  connect(addCommand(simulation, Start, QStringLiteral("開始(&S)")), &QAction::triggered, this,
          &RandomArtDialog::startSimulation);
  connect(addCommand(simulation, Pause, QStringLiteral("一時停止(&P)")), &QAction::triggered, this,
          &RandomArtDialog::pauseSimulation);
  QAction* showProcessing =
      addCommand(simulation, ShowProcessing, QStringLiteral("処理中の画像を表示(&V)"));

  QMenu* modes = bar->addMenu(QStringLiteral("方式(&M)"));
  auto* modeGroup = new QActionGroup(this);
  for (auto [command, text, mode] :
       {std::tuple{EvolveMode, QStringLiteral("進化(&E)"), RandomArtMode::Evolve},
        std::tuple{FitMode, QStringLiteral("図形あてはめ(&F)"), RandomArtMode::Fit}}) {
    QAction* action = addCommand(modes, command, text);
    action->setCheckable(true);
    modeGroup->addAction(action);
    connect(action, &QAction::triggered, this, [this, mode] { chooseMode(mode); });
  }

  // Each flag is inverted first and its mark then set from the new value.
  for (auto [action, flag] : {std::pair{autoExport, &state_.autoExport},
                              std::pair{showProcessing, &state_.showProcessing}}) {
    action->setCheckable(true);
    action->setChecked(flag->load());
    connect(action, &QAction::triggered, this, [action, flag] {
      flag->store(!flag->load());
      action->setChecked(flag->load());
    });
  }

  QMenu* tutorial = bar->addMenu(QStringLiteral("チュートリアル(&T)"));
  connect(addCommand(tutorial, TutorialSize, QStringLiteral("(&1) 出力するサイズを入力する")),
          &QAction::triggered, this, [this] { size_->list()->setFocus(); });
  connect(addCommand(tutorial, TutorialLoad, QStringLiteral("(&2) 解析対象の画像をロードする")),
          &QAction::triggered, this, &RandomArtDialog::loadPicture);
  connect(addCommand(tutorial, TutorialStart, QStringLiteral("(&3) シミュレーションを開始する")),
          &QAction::triggered, this, &RandomArtDialog::startSimulation);
  connect(addCommand(tutorial, TutorialParameters,
                     QStringLiteral("(&4) パラメータをいじりつつ、適合率が100%近くになるまで待つ")),
          &QAction::triggered, this, [this] { sliders_->slider(0)->setFocus(); });
  connect(addCommand(
              tutorial, TutorialAccept,
              QStringLiteral("(&5) ベスト画像を見て、これでいいと判断したら決定ボタンをクリック")),
          &QAction::triggered, this, &QDialog::accept);
  return bar;
}

QWidget* RandomArtDialog::buildPictures(int zoom) {
  auto* pictures = new QWidget(this);
  auto* column = new QVBoxLayout(pictures);
  column->setContentsMargins(0, 0, 0, 0);
  auto addBox = [&](const QString& label, const char* name) {
    auto* box = new PictureBox(zoom, pictures);
    box->setObjectName(QLatin1String(name));
    column->addWidget(new QLabel(label, pictures));
    column->addWidget(box);
    return box;
  };
  targetBox_ = addBox(QStringLiteral("オリジナル"), "target");
  bestBox_ = addBox(QStringLiteral("ベスト"), "best");
  simulationBox_ = addBox(QStringLiteral("シミュレーション"), "simulation");
  column->addStretch(1);
  if (!state_.targetPixels.empty()) targetBox_->showPixels(state_.targetPixels.data());
  return pictures;
}

void RandomArtDialog::addCounter(QGridLayout* grid, const QString& label, QLabel*& value,
                                 const QString& initial, const char* name) {
  const int row = grid->rowCount();
  value = new QLabel(initial);
  value->setObjectName(QLatin1String(name));
  value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // A fixed size, wide enough for the longest time: new counts then repaint the label alone
  // instead of laying the whole dialog out again at every look.
  value->setFixedSize(
      value->fontMetrics().horizontalAdvance(QStringLiteral("99日と23時間59分59秒")) + 4,
      value->sizeHint().height());
  grid->addWidget(new QLabel(label), row, 0);
  grid->addWidget(value, row, 1);
}

QWidget* RandomArtDialog::buildControls() {
  auto* controls = new QWidget(this);
  auto* column = new QVBoxLayout(controls);
  column->setContentsMargins(0, 0, 0, 0);

  size_ = new SizeChoice({state_.width, state_.height}, controls);
  auto* sizeGrid = new QGridLayout;
  sizeGrid->addWidget(new QLabel(QStringLiteral("サイズ")), 0, 0);
  sizeGrid->addWidget(size_->list(), 0, 1);
  sizeGrid->addWidget(new QLabel(QStringLiteral("横幅")), 1, 0);
  sizeGrid->addLayout(size_->makeEditsRow(), 1, 1);
  column->addLayout(sizeGrid);
  connect(size_, &SizeChoice::sizeEdited, this, [this](int width, int height) {
    state_.width = width;
    state_.height = height;
  });

  auto* load = new QPushButton(QStringLiteral("解析対象の画像をロード"), controls);
  load->setObjectName(QStringLiteral("load"));
  load->setAutoDefault(false);
  connect(load, &QPushButton::clicked, this, &RandomArtDialog::loadPicture);
  column->addWidget(load);

  auto* parts = new QGroupBox(QStringLiteral("使用するパーツ"), controls);
  parts_ = parts;
  auto* partsLayout = new QVBoxLayout(parts);
  auto* modes = new QHBoxLayout;
  randomParts_ = new QRadioButton(QStringLiteral("ランダム"), parts);
  fixedPart_ = new QRadioButton(QStringLiteral("固定"), parts);
  modes->addWidget(randomParts_);
  modes->addWidget(fixedPart_);
  modes->addStretch(1);
  partsLayout->addLayout(modes);
  partList_ = new QComboBox(parts);
  partList_->setObjectName(QStringLiteral("parts"));
  fillToolPartList(*partList_);
  partsLayout->addWidget(partList_);
  column->addWidget(parts);
  const std::int32_t partMin = state_.parameters.get(kPartMinIndex);
  const bool fixed = partMin == state_.parameters.get(kPartMaxIndex);
  (fixed ? fixedPart_ : randomParts_)->setChecked(true);
  partList_->setCurrentIndex(fixed ? std::clamp(partMin, 0, int(kPartCount) - 1) : 0);
  partList_->setEnabled(fixed);
  connect(fixedPart_, &QRadioButton::clicked, this, [this] { choosePartMode(true); });
  connect(randomParts_, &QRadioButton::clicked, this, [this] { choosePartMode(false); });
  connect(partList_, &QComboBox::activated, this, [this] { choosePartMode(true); });

  auto* counters = new QGridLayout;
  addCounter(counters, QStringLiteral("適合率"), fitRatio_, QStringLiteral("0%"), "fitRatio");
  addCounter(counters, QStringLiteral("相対適合率"), relativeFitRatio_, QStringLiteral("0%"),
             "relativeFitRatio");
  addCounter(counters, QStringLiteral("レイヤー数"), geneCount_, QStringLiteral("0枚"),
             "geneCount");
  addCounter(counters, QStringLiteral("ベスト更新"), bestUpdates_, QStringLiteral("0回"),
             "bestUpdates");
  addCounter(counters, QStringLiteral("シミュレーション"), simulations_, QStringLiteral("0回"),
             "simulations");
  addCounter(counters, QStringLiteral("解析時間"), elapsed_, QStringLiteral("0秒"), "elapsed");
  column->addLayout(counters);
  column->addStretch(1);

  auto* accept = new QPushButton(QStringLiteral("決定"), controls);
  accept->setObjectName(QStringLiteral("accept"));
  connect(accept, &QPushButton::clicked, this, &QDialog::accept);
  column->addWidget(accept, 0, Qt::AlignRight);
  return controls;
}

void RandomArtDialog::chooseMode(RandomArtMode mode) {
  if (run_.started()) return;
  state_.mode.store(mode);
  showMode();
}

void RandomArtDialog::showMode() {
  const RandomArtMode mode = state_.mode.load();
  const RandomArtControls controls = randomArtControls(mode, run_.started());
  action(EvolveMode)->setChecked(mode == RandomArtMode::Evolve);
  action(FitMode)->setChecked(mode == RandomArtMode::Fit);
  action(EvolveMode)->setEnabled(controls.modeChoice);
  action(FitMode)->setEnabled(controls.modeChoice);
  sliders_->setEnabled(controls.parameters);
  parts_->setEnabled(controls.parts);
}

void RandomArtDialog::choosePartMode(bool fixed) {
  QSlider* minimum = sliders_->slider(kPartMinIndex);
  QSlider* maximum = sliders_->slider(kPartMaxIndex);
  if (fixed) {
    // Remember the range to go back to, unless it already is one part.
    if (minimum->value() != maximum->value()) {
      randomPartMin_ = minimum->value();
      randomPartMax_ = maximum->value();
    }
    fixedPart_->setChecked(true);
    partList_->setEnabled(true);
    // The lower bound is inclusive and the upper exclusive, but equal bounds pick the bound.
    minimum->setValue(partList_->currentIndex());
    maximum->setValue(partList_->currentIndex());
  } else {
    partList_->setEnabled(false);
    minimum->setValue(randomPartMin_);
    maximum->setValue(randomPartMax_);
  }
}

}  // namespace orvane
