#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace orvane {

// Memory shared out among threads that each need a large amount for a while, such as batch
// workers drawing pictures: a thread takes what its task needs before it starts and gives it
// back when done, so that however many threads there are, the tasks in hand never need more
// than the budget together. A task larger than the whole budget still runs, alone.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::uint64_t bytes) : total_(bytes) {}

  // Waits until `bytes` fit beside what is taken (or until nothing is taken), then takes them.
  void acquire(std::uint64_t bytes);
  void release(std::uint64_t bytes);
  std::uint64_t taken() const;

 private:
  const std::uint64_t total_;
  std::uint64_t taken_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable freed_;
};

// The memory this process may still take: what the system reports as available, or less where
// the control group the process runs in (a container, say) sets a lower limit.
std::uint64_t availableMemoryBytes();

}  // namespace orvane
