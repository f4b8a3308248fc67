#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/failure.h"
#include "base/save_target.h"
#include "base/temporary_files.h"

namespace orvane {
namespace {

std::string errnoText(int code) { return std::strerror(code); }

bool writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Opens a new temporary file in `directory`, trying again in the rare case of a clash.
int createTemporary(const std::filesystem::path& directory, mode_t mode,
                    std::filesystem::path& temporary) {
  for (int attempt = 0; attempt < 8; ++attempt) {
    temporary = directory / temporaryFileName();
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

bool saveFileAtomically(const std::filesystem::path& target, std::span<const std::byte> bytes,
                        std::string* error) {
  if (target.empty() || !target.has_filename()) {
    return fail(error, "no file name");
  }
  SaveTarget resolved;
  if (!resolveSaveTarget(target, resolved, error)) return false;
  std::filesystem::path directory = resolved.path.parent_path();
  if (directory.empty()) directory = ".";
  sweepStaleTemporaries(directory);

  // A replaced file keeps its permissions: the temporary file starts private and gets them
  // before any byte is written. A new file gets what the user's umask allows, which open itself
  // applies (reading the umask would mean setting it, a race with every other thread).
  std::filesystem::path temporary;
  const int fd = createTemporary(directory, resolved.exists ? 0600 : 0666, temporary);
  if (fd < 0) {
    if (errno == EACCES || errno == EPERM) {
      return fail(error, resolved.exists ? "folder is not writable, cannot save safely"
                                         : "folder is not writable");
    }
    return fail(error, errnoText(errno));
  }
  const int slot = registerTemporary(temporary);
  bool ok = adoptOwnerAndMode(fd, resolved);
  int failure = ok ? 0 : errno;
  if (ok && !writeAll(fd, reinterpret_cast<const char*>(bytes.data()), bytes.size())) {
    ok = false;
    failure = errno;
  }
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    failure = errno;
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    failure = errno;
  }
  if (ok && ::rename(temporary.c_str(), resolved.path.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    fail(error, errnoText(failure));
  }
  withdrawTemporary(slot);
  return ok;
}

bool saveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                        std::string* error) {
  return saveFileAtomically(
      target,
      std::span<const std::byte>(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()),
      error);
}

bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::size_t maxBytes,
                   std::string* error) {
  bytes.clear();
  // Anything but a regular file is refused before it is opened: opening a FIFO waits for a
  // writer, forever. The open does not wait either, in case the file changed in between.
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return fail(error, errnoText(errno));
  if (S_ISDIR(info.st_mode)) return fail(error, "is a folder");
  if (!S_ISREG(info.st_mode)) return fail(error, "not a regular file");
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return fail(error, errnoText(errno));
  }
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    fail(error, S_ISDIR(info.st_mode) ? "is a folder" : "not a regular file");
    ::close(fd);
    return false;
  }
  if (static_cast<std::size_t>(info.st_size) > maxBytes) {
    fail(error, "file too large");
    ::close(fd);
    return false;
  }
  bytes.resize(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      fail(error, got < 0 ? errnoText(errno) : "file changed while reading");
      ::close(fd);
      bytes.clear();
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return true;
}

}  // namespace orvane
