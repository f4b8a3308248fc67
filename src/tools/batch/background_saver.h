#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvane {

// Saves files (saveFileAtomically) on threads of its own, so that the threads that make their
// contents go on working while the disk takes the files, the flushes included. Several savers
// let the file system flush their files together instead of one after the other. At most
// `maxQueued` files wait; a caller that would pass that waits for room. When no thread can be
// started the saves happen in the caller's thread instead.
class BackgroundSaver {
 public:
  // Told whether the file was saved, with the reason when not; called on a saver thread.
  using Done = std::function<void(bool saved, std::string reason)>;

  explicit BackgroundSaver(int threads = 2, std::size_t maxQueued = 4);
  ~BackgroundSaver();  // finishes every queued save first
  BackgroundSaver(const BackgroundSaver&) = delete;
  BackgroundSaver& operator=(const BackgroundSaver&) = delete;

  void save(std::filesystem::path target, std::string bytes, Done done);
  // Returns once every file queued so far has been saved (or has failed) and told.
  void finish();

 private:
  struct Job {
    std::filesystem::path target;
    std::string bytes;
    Done done;
  };
  static void run(Job& job);
  void work();

  const std::size_t maxQueued_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Job> queue_;
  int busy_ = 0;  // jobs taken off the queue and not yet told
  bool closing_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace orvane
