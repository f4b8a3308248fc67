#include "app/shell/recovery_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <random>

#include "base/atomic_file.h"
#include "base/failure.h"

namespace orvane {
namespace fs = std::filesystem;
namespace {

constexpr char kLockName[] = "lock";
constexpr char kEmblemName[] = "emblem.ovml";
constexpr char kOriginName[] = "original-path";

// Opens and locks a folder's lock file without waiting; -1 when another process holds it.
int lockFolder(const fs::path& folder) {
  const int fd = ::open((folder / kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string runName() {
  std::random_device device;
  std::uniform_int_distribution<unsigned> digit(0, 35);
  std::string name = "run-";
  for (int i = 0; i < 12; ++i) {
    const unsigned d = digit(device);
    name += static_cast<char>(d < 10 ? '0' + d : 'a' + d - 10);
  }
  return name;
}

}  // namespace

std::optional<fs::path> RecoveryStore::defaultFolder(const std::string& xdgStateHome,
                                                     const std::string& home) {
  if (!xdgStateHome.empty() && fs::path(xdgStateHome).is_absolute()) {
    return fs::path(xdgStateHome) / "orvane" / "recovery";
  }
  if (!home.empty() && fs::path(home).is_absolute()) {
    return fs::path(home) / ".local" / "state" / "orvane" / "recovery";
  }
  return std::nullopt;
}

RecoveryStore::RecoveryStore(const fs::path& root) : root_(root) {
  std::error_code error;
  fs::create_directories(root_, error);
  if (error) return;
  for (int attempt = 0; attempt < 8 && lockFd_ < 0; ++attempt) {
    const fs::path folder = root_ / runName();
    if (!fs::create_directory(folder, error) || error) continue;
    fs::permissions(folder, fs::perms::owner_all, error);
    lockFd_ = lockFolder(folder);
    if (lockFd_ >= 0) folder_ = folder;
  }
}

RecoveryStore::~RecoveryStore() {
  if (lockFd_ < 0) return;
  std::error_code error;
  fs::remove_all(folder_, error);
  ::close(lockFd_);
}

bool RecoveryStore::write(const std::string& ovmlText, const std::string& originalPath,
                          std::string* error) {
  if (!active()) return fail(error, "no recovery folder");
  return saveFileAtomically(folder_ / kOriginName, originalPath, error) &&
         saveFileAtomically(folder_ / kEmblemName, ovmlText, error);
}

void RecoveryStore::discard() {
  if (!active()) return;
  std::error_code error;
  fs::remove(folder_ / kEmblemName, error);
  fs::remove(folder_ / kOriginName, error);
}

std::vector<RecoveryStore::Orphan> RecoveryStore::orphans(std::chrono::hours maxAge) const {
  std::vector<Orphan> found;
  std::error_code error;
  const auto now = fs::file_time_type::clock::now();
  for (const fs::directory_entry& entry : fs::directory_iterator(root_, error)) {
    if (!entry.is_directory(error) || entry.path() == folder_) continue;
    const int fd = lockFolder(entry.path());
    if (fd < 0) continue;  // a running editor's folder
    Orphan orphan{entry.path(), entry.path() / kEmblemName, {}, {}};
    const bool hasCopy = fs::is_regular_file(orphan.emblem, error);
    if (hasCopy) orphan.written = fs::last_write_time(orphan.emblem, error);
    const bool old = !hasCopy || error || now - orphan.written > maxAge;
    if (old) {
      fs::remove_all(entry.path(), error);
    } else {
      readWholeFile(entry.path() / kOriginName, orphan.originalPath, 64 * 1024);
      found.push_back(std::move(orphan));
    }
    ::close(fd);
  }
  std::sort(found.begin(), found.end(),
            [](const Orphan& a, const Orphan& b) { return a.written > b.written; });
  return found;
}

bool RecoveryStore::remove(const Orphan& orphan) {
  const int fd = lockFolder(orphan.folder);
  if (fd < 0) return false;
  std::error_code error;
  fs::remove_all(orphan.folder, error);
  ::close(fd);
  return !error;
}

}  // namespace orvane
