#pragma once

#include <array>
#include <atomic>
#include <utility>

namespace orvane {

// Hands the newest of a series of values from one writer thread to one reader thread without
// either of them ever waiting (triple buffering): the writer fills its spare slot and swaps it
// with the middle one, the reader swaps the middle slot out when it holds something new. Values
// the reader never took are simply replaced by newer ones.
template <typename T>
class LatestValue {
 public:
  // Writer thread: `fill` writes the new value into a slot in place (so a large value is copied
  // once, and a slot's memory is reused), then the value is published.
  template <typename Fill>
  void publishWith(Fill&& fill) {
    fill(slots_[back_]);
    const unsigned previous = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel);
    back_ = previous & kIndexMask;
  }
  void publish(const T& value) {
    publishWith([&](T& slot) { slot = value; });
  }

  // Reader thread: the newest value published since the last take, or nullptr when none was.
  // The value stays valid and unchanged until the next take.
  const T* take() {
    if ((middle_.load(std::memory_order_acquire) & kFresh) == 0) return nullptr;
    const unsigned previous = middle_.exchange(front_, std::memory_order_acq_rel);
    front_ = previous & kIndexMask;
    return &slots_[front_];
  }

 private:
  static constexpr unsigned kIndexMask = 3;
  static constexpr unsigned kFresh = 4;

  std::array<T, 3> slots_{};
  std::atomic<unsigned> middle_{1};  // the middle slot's index, with kFresh when not yet taken
  unsigned back_ = 0;                // writer only
  unsigned front_ = 2;               // reader only
};

}  // namespace orvane
