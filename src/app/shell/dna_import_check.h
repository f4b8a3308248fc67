#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace orvane {

// Why a DNA file should not be taken into the random-art dialog, or nothing. The DNA reader
// survives any bytes, but it drops the target picture first and keeps whatever it can make of a
// damaged chain, so the dialog checks a file before it touches its state: the file starts with a
// known chunk, every chunk lies inside the file and points forward, and the picture, genomes,
// parameters and info hold what they announce. Chunks of unknown tags after the first are
// allowed and skipped, as the reader does.
std::optional<std::string> dnaFileProblem(std::span<const std::uint8_t> bytes);

}  // namespace orvane
