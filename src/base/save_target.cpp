#include "base/save_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "base/failure.h"

namespace orvane {
namespace {

// As many links as the system itself follows before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;

bool isMemberOf(gid_t group) {
  if (group == ::getegid()) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  for (int i = 0; i < got; ++i) {
    if (groups[static_cast<std::size_t>(i)] == group) return true;
  }
  return false;
}

// Whether the permission bits let this user write the file. Root may write anything, so for
// root a file counts as writable when anyone may write it.
bool modeAllowsWriting(const struct stat& info) {
  const uid_t user = ::geteuid();
  if (user == 0) return (info.st_mode & 0222) != 0;
  if (info.st_uid == user) return (info.st_mode & S_IWUSR) != 0;
  if (isMemberOf(info.st_gid)) return (info.st_mode & S_IWGRP) != 0;
  return (info.st_mode & S_IWOTH) != 0;
}

}  // namespace

bool resolveSaveTarget(const std::filesystem::path& target, SaveTarget& resolved,
                       std::string* error) {
  std::filesystem::path path = target;
  struct stat info {};
  for (int hops = 0;; ++hops) {
    if (::lstat(path.c_str(), &info) != 0) {
      if (errno != ENOENT) return fail(error, std::strerror(errno));
      resolved = SaveTarget{path};  // a new file, perhaps where a dangling link leads
      return true;
    }
    if (!S_ISLNK(info.st_mode)) break;
    if (hops == kMaxLinkHops) return fail(error, std::strerror(ELOOP));
    std::error_code ec;
    const std::filesystem::path link = std::filesystem::read_symlink(path, ec);
    if (ec) return fail(error, ec.message());
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  if (S_ISDIR(info.st_mode)) return fail(error, "is a folder");
  if (!S_ISREG(info.st_mode)) return fail(error, "not a regular file");
  if (!modeAllowsWriting(info)) return fail(error, "file is read-only");
  resolved = SaveTarget{path, true, info.st_mode & 07777, info.st_uid, info.st_gid};
  return true;
}

bool adoptOwnerAndMode(int fd, const SaveTarget& target) {
  if (!target.exists) return true;
  struct stat own {};
  if (::fstat(fd, &own) == 0 && (own.st_uid != target.owner || own.st_gid != target.group)) {
    // Only root may give a file away; others may still hand it to a group of their own.
    if (::fchown(fd, target.owner, target.group) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), target.group);
    }
  }
  return ::fchmod(fd, target.mode & 0777) == 0;
}

}  // namespace orvane
