#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace orvane::test {

// A time limit for one test: when the test is still running at the limit, the program says which
// test hung and aborts, so a hang fails at once instead of stalling the suite.
class TestDeadline {
 public:
  TestDeadline(std::chrono::milliseconds limit, std::string name)
      : watcher_([this, limit, name = std::move(name)] {
          std::unique_lock lock(mutex_);
          if (!disarmed_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "%s ran past its time limit of %lld ms\n", name.c_str(),
                         static_cast<long long>(limit.count()));
            std::abort();
          }
        }) {}
  ~TestDeadline() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    disarmed_.notify_all();
    watcher_.join();
  }
  TestDeadline(const TestDeadline&) = delete;
  TestDeadline& operator=(const TestDeadline&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable disarmed_;
  bool done_ = false;
  std::thread watcher_;
};

}  // namespace orvane::test
