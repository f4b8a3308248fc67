#include "app/tools/batch_progress_dialog.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/shell/batch_run_rules.h"
#include "tools/batch/emblem_folder.h"

namespace orvane {
namespace {
constexpr int kRefreshMilliseconds = 50;
}

BatchProgressDialog::BatchProgressDialog(const BatchSettings& settings,
                                         std::span<const std::uint16_t> atlas, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      atlas_(atlas),
      bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("キャンセル"), this)),
      refresh_(new QTimer(this)) {
  setObjectName(QStringLiteral("BatchProgressDialog"));
  const int total = CountEmblemFiles(settings_.inputFolder);
  total_.store(total);
  setWindowTitle(QString::fromStdString(batchProgressCaption(0, total)));
  bar_->setRange(0, total);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->setStyleSheet(QStringLiteral(
      "QProgressBar { background-color: rgb(255, 255, 200); border: 1px solid gray; }"
      "QProgressBar::chunk { background-color: rgb(0, 200, 0); }"));
  bar_->setMinimumWidth(320);
  cancel_->setObjectName(QStringLiteral("cancel"));
  connect(cancel_, &QPushButton::clicked, this, &BatchProgressDialog::reject);
  auto* column = new QVBoxLayout(this);
  column->addWidget(bar_);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(cancel_);
  column->addLayout(row);
  refresh_->setInterval(kRefreshMilliseconds);
  connect(refresh_, &QTimer::timeout, this, &BatchProgressDialog::showLatest);
}

BatchProgressDialog::~BatchProgressDialog() {
  running_.store(false);
  if (thread_.joinable()) thread_.join();
}

void BatchProgressDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!thread_.joinable()) startRun();
}

void BatchProgressDialog::startRun() {
  running_.store(true);
  thread_ = std::thread([this] {
    report_ = RunBatchConversion(settings_, atlas_, running_, [this](int position, int total) {
      position_.store(position, std::memory_order_relaxed);
      total_.store(total, std::memory_order_relaxed);
    });
    finished_.store(true, std::memory_order_release);
  });
  refresh_->start();
}

void BatchProgressDialog::showLatest() {
  const int position = position_.load(std::memory_order_relaxed);
  // The bar keeps the count of the start; the caption follows files that come and go.
  bar_->setValue(std::min(position, bar_->maximum()));
  if (running_.load()) {
    setWindowTitle(QString::fromStdString(
        batchProgressCaption(position, total_.load(std::memory_order_relaxed))));
  }
  if (finished_.load(std::memory_order_acquire)) finishRun();
}

void BatchProgressDialog::finishRun() {
  refresh_->stop();
  thread_.join();
  QDialog::done(report_.cancelled ? Rejected : Accepted);
}

void BatchProgressDialog::reject() {
  if (!thread_.joinable()) return QDialog::reject();
  // The files in hand finish; the dialog ends when the run has.
  running_.store(false);
  cancel_->setEnabled(false);
}

}  // namespace orvane
