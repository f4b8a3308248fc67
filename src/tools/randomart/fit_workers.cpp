#include "tools/randomart/fit_workers.h"

namespace orvane {

FitWorkers::FitWorkers(int threads) {
  for (int i = 1; i < threads; ++i) threads_.emplace_back([this, i] { serve(i); });
}

FitWorkers::~FitWorkers() {
  {
    std::lock_guard lock(mutex_);
    closing_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void FitWorkers::run(const std::function<void(int)>& job) {
  if (threads_.empty()) {
    job(0);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    job_ = &job;
    busy_ = int(threads_.size());
    ++generation_;
  }
  wake_.notify_all();
  job(0);
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&] { return busy_ == 0; });
  job_ = nullptr;
}

void FitWorkers::serve(int index) {
  unsigned long seen = 0;
  for (;;) {
    const std::function<void(int)>* job = nullptr;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return closing_ || generation_ != seen; });
      if (closing_) return;
      seen = generation_;
      job = job_;
    }
    (*job)(index);
    {
      std::lock_guard lock(mutex_);
      --busy_;
    }
    done_.notify_one();
  }
}

}  // namespace orvane
