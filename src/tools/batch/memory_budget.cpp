#include "tools/batch/memory_budget.h"

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>

namespace orvane {
namespace {

// The first number in a file, as a cgroup or /proc file holds it; 0 when there is none ("max").
std::uint64_t numberIn(const char* path, std::string_view key = {}) {
  std::ifstream in(path);
  std::string word;
  while (in >> word) {
    if (!key.empty() && word != key) continue;
    if (!key.empty() && !(in >> word)) return 0;
    try {
      return std::stoull(word);
    } catch (...) {
      return 0;
    }
  }
  return 0;
}

}  // namespace

void MemoryBudget::acquire(std::uint64_t bytes) {
  std::unique_lock lock(mutex_);
  freed_.wait(lock, [&] { return taken_ == 0 || taken_ + bytes <= total_; });
  taken_ += bytes;
}

void MemoryBudget::release(std::uint64_t bytes) {
  {
    const std::lock_guard lock(mutex_);
    taken_ -= std::min(bytes, taken_);
  }
  freed_.notify_all();
}

std::uint64_t MemoryBudget::taken() const {
  const std::lock_guard lock(mutex_);
  return taken_;
}

std::uint64_t availableMemoryBytes() {
  std::uint64_t available = numberIn("/proc/meminfo", "MemAvailable:") * 1024;
  if (available == 0) {
    available = std::uint64_t(::sysconf(_SC_AVPHYS_PAGES)) * std::uint64_t(::sysconf(_SC_PAGESIZE));
  }
  const std::uint64_t limit = numberIn("/sys/fs/cgroup/memory.max");
  if (limit > 0) {
    const std::uint64_t used = numberIn("/sys/fs/cgroup/memory.current");
    available = std::min(available, limit > used ? limit - used : 0);
  }
  return available;
}

}  // namespace orvane
