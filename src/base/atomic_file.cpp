#include "base/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "base/failure.h"

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

// A name for the temporary file that a concurrent save of the same target, in this process or
// another, cannot pick as well (the open with O_EXCL still refuses a clash).
std::string temporarySuffix() {
  thread_local std::mt19937_64 names{std::random_device{}()};
  std::string suffix = ".tmp";
  suffix += std::to_string(::getpid());
  suffix += '-';
  suffix += std::to_string(names());
  return suffix;
}

}  // namespace

bool saveFileAtomically(const std::filesystem::path& target, std::span<const std::byte> bytes,
                        std::string* error) {
  if (target.empty() || !target.has_filename()) {
    return fail(error, "no file name");
  }
  std::filesystem::path directory = target.parent_path();
  if (directory.empty()) directory = ".";

  std::string name = ".";
  name += target.filename().string();
  name += temporarySuffix();
  const std::filesystem::path temporary = directory / name;

  // A replaced file keeps its permissions: the temporary file starts private and gets them
  // before any byte is written. A new file gets what the user's umask allows, which open itself
  // applies (reading the umask would mean setting it, a race with every other thread).
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  const int fd =
      ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replacing ? 0600 : 0666);
  if (fd < 0) {
    return fail(error, errnoText(errno));
  }
  bool ok = !replacing || ::fchmod(fd, old.st_mode & 07777) == 0;
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
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    ok = false;
    failure = errno;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    fail(error, errnoText(failure));
  }
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
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    return fail(error, errnoText(errno));
  }
  struct stat info {};
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
