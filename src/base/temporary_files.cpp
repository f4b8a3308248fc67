#include "base/temporary_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <random>
#include <set>

namespace orvane {
namespace {

constexpr std::string_view kPrefix = ".orvane-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLength = kTemporaryNameLength - kPrefix.size() - kSuffix.size();

// Each slot holds a registered path (a string of its own, never freed while registered), null
// when free, or kClaimed once a signal handler has taken it. Only lock-free atomics are touched
// from the handler.
constexpr int kSlotCount = 1024;
std::atomic<char*> slots[kSlotCount];
char claimedMark;
char* const kClaimed = &claimedMark;
static_assert(std::atomic<char*>::is_always_lock_free);

}  // namespace

std::string temporaryFileName() {
  thread_local std::mt19937_64 random{std::random_device{}()};
  std::string name(kPrefix);
  std::uniform_int_distribution<std::size_t> letter(0, kAlphabet.size() - 1);
  for (std::size_t i = 0; i < kRandomLength; ++i) name += kAlphabet[letter(random)];
  name += kSuffix;
  return name;
}

bool isTemporaryFileName(std::string_view name) {
  if (name.size() != kTemporaryNameLength || !name.starts_with(kPrefix) ||
      !name.ends_with(kSuffix)) {
    return false;
  }
  const std::string_view middle = name.substr(kPrefix.size(), kRandomLength);
  return middle.find_first_not_of(kAlphabet) == std::string_view::npos;
}

void sweepStaleTemporaries(const std::filesystem::path& folder) {
  {
    static std::mutex mutex;
    static std::set<std::string> swept;
    const std::lock_guard lock(mutex);
    if (!swept.insert(folder.lexically_normal().native()).second) return;
  }
  const auto now = std::chrono::system_clock::now();
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::filesystem::path& path = it->path();
    if (!isTemporaryFileName(path.filename().native())) continue;
    struct stat file {};
    if (::lstat(path.c_str(), &file) != 0 || !S_ISREG(file.st_mode) || file.st_uid != ::geteuid()) {
      continue;
    }
    const auto changed = std::chrono::system_clock::from_time_t(file.st_mtime);
    if (now - changed >= kStaleTemporaryAge) ::unlink(path.c_str());
  }
}

int registerTemporary(const std::filesystem::path& path) {
  const std::string& text = path.native();
  char* copy = new char[text.size() + 1];
  std::memcpy(copy, text.c_str(), text.size() + 1);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    char* expected = nullptr;
    if (slots[slot].compare_exchange_strong(expected, copy)) return slot;
  }
  delete[] copy;
  return -1;
}

void withdrawTemporary(int slot) {
  if (slot < 0 || slot >= kSlotCount) return;
  char* path = slots[slot].load();
  // A slot a handler has claimed stays claimed; its path is left to the ending process.
  if (path && path != kClaimed && slots[slot].compare_exchange_strong(path, nullptr)) {
    delete[] path;
  }
}

void removeTemporariesInFlight() noexcept {
  for (std::atomic<char*>& slot : slots) {
    char* path = slot.load();
    if (path && path != kClaimed && slot.compare_exchange_strong(path, kClaimed)) {
      ::unlink(path);
    }
  }
}

}  // namespace orvane
