#pragma once

#include <QDialog>
#include <atomic>
#include <span>
#include <thread>

#include "tools/batch/batch_conversion.h"

class QProgressBar;
class QPushButton;
class QTimer;

namespace orvane {

// The small modal dialog of a running batch conversion: its caption counts "一括変換中... %d / %d"
// from the moment it opens, a bar fills up to the number of files found at the start, and
// "キャンセル" stops the run before its next file. The conversion runs on a thread of its own
// with one worker per core and publishes its progress through two numbers that the dialog reads
// about 20 times a second, so the workers never wait for the interface. After a cancel the dialog
// stays (its button disabled) until the files in hand are done, and then ends with Rejected; a
// run that handled every file ends it with Accepted. report() holds the outcome once it ended.
class BatchProgressDialog : public QDialog {
  Q_OBJECT
 public:
  // The atlas must outlive the dialog.
  BatchProgressDialog(const BatchSettings& settings, std::span<const std::uint16_t> atlas,
                      QWidget* parent = nullptr);
  ~BatchProgressDialog() override;

  const BatchReport& report() const { return report_; }
  QProgressBar* bar() const { return bar_; }
  QPushButton* cancelButton() const { return cancel_; }
  // Shows the latest position and ends the dialog once the run is over; the timer calls it.
  void showLatest();

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void startRun();
  void finishRun();

  BatchSettings settings_;
  std::span<const std::uint16_t> atlas_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  QTimer* refresh_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<bool> finished_{false};
  std::atomic<int> position_{0};
  std::atomic<int> total_{0};
  BatchReport report_;  // written by the run's thread before finished_, read after it
};

}  // namespace orvane
