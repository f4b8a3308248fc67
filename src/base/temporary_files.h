#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

// The temporary files that saves write before renaming them over their targets. They carry a
// short name of fixed length, ".orvane-" and twelve letters or digits and ".tmp", so that a
// target of any name the file system allows can be saved, and so that temporaries a killed
// process left behind can be told from the user's files.

inline constexpr std::size_t kTemporaryNameLength = 24;
// Temporaries of our naming older than this are leftovers of a process that was killed.
inline constexpr std::chrono::minutes kStaleTemporaryAge{10};

// A fresh random name of that form.
std::string temporaryFileName();
// Whether a file name has exactly that form.
bool isTemporaryFileName(std::string_view name);

// Removes the leftovers in `folder`: regular files of our naming, owned by this user, not
// changed for kStaleTemporaryAge. Each folder (by its name) is swept once per process; errors
// are ignored.
void sweepStaleTemporaries(const std::filesystem::path& folder);

// Temporaries being written right now. A save registers its temporary once it exists and
// withdraws it after the rename (or after removing it); the slot number identifies it, -1 when
// every slot is taken (the save goes on unregistered). Safe from any thread.
int registerTemporary(const std::filesystem::path& path);
void withdrawTemporary(int slot);

// Removes every registered temporary. Async-signal-safe: meant for a signal handler that ends
// the process, since the removed temporaries stay registered.
void removeTemporariesInFlight() noexcept;

}  // namespace orvane
