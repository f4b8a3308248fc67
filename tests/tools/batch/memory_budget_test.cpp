// The memory budget the batch workers share: takers wait for room, a task larger than the whole
// budget runs alone, and the run's pictures in hand stay within it.
#include "tools/batch/memory_budget.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace orvane {
namespace {

using namespace std::chrono_literals;

TEST(MemoryBudget, TakersWaitForRoomAndOversizedTasksRunAlone) {
  MemoryBudget budget(100);
  budget.acquire(60);
  std::atomic<int> stage{0};
  std::thread second([&] {
    budget.acquire(50);  // 110 would not fit
    stage = 1;
    budget.acquire(0);
    budget.release(50);
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(stage.load(), 0);
  budget.release(60);
  second.join();
  EXPECT_EQ(stage.load(), 1);
  EXPECT_EQ(budget.taken(), 0u);

  budget.acquire(1000);  // more than the whole budget: taken while nothing else is
  std::thread small([&] {
    budget.acquire(1);
    stage = 2;
    budget.release(1);
  });
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(stage.load(), 1);
  budget.release(1000);
  small.join();
  EXPECT_EQ(stage.load(), 2);
}

TEST(MemoryBudget, ManyThreadsNeverHoldMoreThanTheBudget) {
  MemoryBudget budget(1000);
  std::atomic<std::uint64_t> most{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        const std::uint64_t bytes = 100 + 150 * std::uint64_t((t + i) % 4);
        budget.acquire(bytes);
        const std::uint64_t seen = budget.taken();
        std::uint64_t previous = most.load();
        while (seen > previous && !most.compare_exchange_weak(previous, seen)) {
        }
        budget.release(bytes);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_LE(most.load(), 1000u);
  EXPECT_GE(most.load(), 250u);
  EXPECT_EQ(budget.taken(), 0u);
}

TEST(MemoryBudget, AvailableMemoryIsSomethingButNotEverything) {
  const std::uint64_t available = availableMemoryBytes();
  EXPECT_GT(available, std::uint64_t{16} << 20);
  EXPECT_LT(available, std::uint64_t{1} << 50);
}

}  // namespace
}  // namespace orvane
