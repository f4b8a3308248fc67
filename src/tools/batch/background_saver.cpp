#include "tools/batch/background_saver.h"

#include <algorithm>
#include <system_error>

#include "base/atomic_file.h"

namespace orvane {

BackgroundSaver::BackgroundSaver(int threads, std::size_t maxQueued)
    : maxQueued_(std::max<std::size_t>(1, maxQueued)) {
  for (int k = 0; k < threads; ++k) {
    try {
      threads_.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
      break;  // save with the threads there are; with none, save() saves at once
    }
  }
}

BackgroundSaver::~BackgroundSaver() {
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  changed_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

void BackgroundSaver::run(Job& job) {
  std::string reason;
  const bool saved = saveFileAtomically(job.target, job.bytes, &reason);
  if (job.done) job.done(saved, std::move(reason));
}

void BackgroundSaver::save(std::filesystem::path target, std::string bytes, Done done) {
  Job job{std::move(target), std::move(bytes), std::move(done)};
  if (threads_.empty()) {
    run(job);
    return;
  }
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return queue_.size() < maxQueued_; });
  queue_.push_back(std::move(job));
  lock.unlock();
  changed_.notify_all();
}

void BackgroundSaver::finish() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return queue_.empty() && busy_ == 0; });
}

void BackgroundSaver::work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [&] { return closing_ || !queue_.empty(); });
    if (queue_.empty()) return;  // closing with nothing left
    Job job = std::move(queue_.front());
    queue_.pop_front();
    ++busy_;
    lock.unlock();
    changed_.notify_all();  // room in the queue
    run(job);
    lock.lock();
    --busy_;
    changed_.notify_all();  // finish() may be waiting
  }
}

}  // namespace orvane
