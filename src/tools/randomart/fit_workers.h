#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace orvane {

// Threads that run one job together and wait for each other: run(job) calls job(0) on the
// calling thread and job(1) ... job(n - 1) on the pool's threads, and returns when all are
// done. The threads live as long as the pool, so a job costs two wake-ups, not a thread.
class FitWorkers {
 public:
  explicit FitWorkers(int threads);
  ~FitWorkers();
  FitWorkers(const FitWorkers&) = delete;
  FitWorkers& operator=(const FitWorkers&) = delete;

  int size() const { return int(threads_.size()) + 1; }
  // The job must stay valid until run returns.
  void run(const std::function<void(int)>& job);

 private:
  void serve(int index);

  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  const std::function<void(int)>* job_ = nullptr;
  unsigned long generation_ = 0;  // one more for every job
  int busy_ = 0;                  // pool threads still working on the current job
  bool closing_ = false;
};

}  // namespace orvane
