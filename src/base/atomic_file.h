#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>

namespace orvane {

// Writes a whole file so that the target is either left as it was or replaced by the complete
// new content: the bytes go to a temporary file beside the target, which is flushed and renamed
// over the target only when every byte was written. Every saver of the program uses this.
bool saveFileAtomically(const std::filesystem::path& target, std::span<const std::byte> bytes,
                        std::string* error = nullptr);
bool saveFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                        std::string* error = nullptr);

// Reads a whole file into memory; false (with a reason) when it cannot be opened or read, or when
// it is larger than maxBytes.
bool readWholeFile(const std::filesystem::path& path, std::string& bytes, std::size_t maxBytes,
                   std::string* error = nullptr);

}  // namespace orvane
