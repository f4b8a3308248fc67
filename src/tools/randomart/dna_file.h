#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "tools/randomart/random_art_state.h"

namespace orvane {

class RandomArtWorker;

// DNA files keep a random-art session: a chain of chunks, each "tag, next, payload" with
// little-endian int32 numbers, every chunk starting at a multiple of 16 (the gap zero-filled)
// and `next` giving the distance to the following chunk (0 in the last). Written in the order
// INFO (width, height, auto-export, show-processing), IMG (the picture's own width and height,
// then its pixels as blue, green, red, 255), BEST and GEN (count, then count genes of 12 bytes;
// each only when its count is not 0), PARA (25, then 25 pairs of index and value).
inline constexpr int kDnaAlignment = 16;
// Pictures in a DNA file above this side are refused (the chunk is skipped).
inline constexpr std::int32_t kMaxDnaPictureSide = 4096;
// The output size INFO carries is clamped to 1 ... this: it becomes the size of a new emblem.
inline constexpr std::int32_t kMaxDnaEmblemSide = 4096;

// The bytes of a DNA file for the state. The caller holds a pause.
std::string writeDna(const RandomArtState& state);

// Reads a DNA file from memory into the state; the caller holds a pause. The target picture is
// dropped first and comes back only from an IMG chunk. Chunks may come in any order and each
// overwrites only what it carries. Hostile files are survived: the walk ends at a next field
// that does not point forward inside the file; nothing is read past the end; gene counts are
// limited to what the genome holds (511) and to the genes present; a picture above
// kMaxDnaPictureSide or shorter than announced is skipped; parameter values are clamped to
// their ranges and pairs with an unknown index ignored; INFO's size is clamped to 1 ...
// kMaxDnaEmblemSide. A picture of another size than the
// field is stretched over it as a loaded picture would be. IMG does not change the chosen
// output size (INFO carries it). Returns false only when the data is too short for one chunk.
bool readDna(std::span<const std::uint8_t> bytes, RandomArtState& state);

// Export and import through a worker's pause (none when `worker` is null), so a running worker
// runs on and a paused one stays paused. Export saves atomically. False with a reason when the
// file cannot be written or read.
bool exportDnaFile(const std::filesystem::path& path, RandomArtState& state,
                   RandomArtWorker* worker, std::string* error = nullptr);
bool importDnaFile(const std::filesystem::path& path, RandomArtState& state,
                   RandomArtWorker* worker, std::string* error = nullptr);

}  // namespace orvane
