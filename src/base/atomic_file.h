#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>

namespace orvane {

// Writes a whole file so that the target is either left as it was or replaced by the complete
// new content: the bytes go to a temporary file beside the target (temporary_files.h), which is
// flushed and renamed over the target only when every byte was written. Every saver of the
// program uses this. A link is followed and kept, the replaced file's owner and permissions are
// kept (save_target.h); read-only files, folders and special files are refused, and so is a
// file in a folder this user may not write, since it cannot be replaced safely there. The
// rename makes a new file, so a file with several hard links is parted from the others.
bool saveFileAtomically(const std::filesystem::path& target, std::span<const std::byte> bytes,
                        std::string* error = nullptr);
bool saveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                        std::string* error = nullptr);

// Reads a whole file into memory; false (with a reason) when it cannot be opened or read, when it
// is not a regular file ("not a regular file", decided before it is opened, so a FIFO never
// blocks) or when it is larger than maxBytes.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::size_t maxBytes,
                   std::string* error = nullptr);

}  // namespace orvane
