#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace orvane {

// What a save is about to replace. Saving over a symbolic link replaces the file the link leads
// to and keeps the link; the replacement takes over the owner, group and permissions of the
// file it replaces as far as the process may (never a set-user-ID or set-group-ID bit).
struct SaveTarget {
  std::filesystem::path path;  // the file really written, symbolic links followed
  bool exists = false;
  mode_t mode = 0;  // the permission bits of the file replaced
  uid_t owner = 0;
  gid_t group = 0;
};

// Follows the links of `target` and checks that it may be replaced: false with a reason for a
// folder, for anything that is not a regular file, for a link chain that does not end and for
// a file whose permission bits do not let this user write it ("file is read-only"; decided from
// the bits alone, so that root is refused too).
bool resolveSaveTarget(const std::filesystem::path& target, SaveTarget& resolved,
                       std::string* error = nullptr);

// Gives the open file `fd` the owner, group and permission bits of the file it will replace.
// An owner or group the process may not give is left as it is; false only when the permission
// bits cannot be set.
bool adoptOwnerAndMode(int fd, const SaveTarget& target);

}  // namespace orvane
