#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "document/emblem_document.h"

namespace orvane {

// The binary emblem file (.ovr): a flat list of at most 511 layers of 16 bytes each, with the
// emblem's author ID, size, sound and name; the body after the first four bytes is enciphered
// with Blowfish and may be packed first. Groups, visibility and layer names are not kept.

inline constexpr std::size_t kMaxBinaryLayers = 511;
// Files, and packed bodies once unpacked, larger than this are refused: the largest real file is
// 12 + 511 * 16 + 510 bytes, so this leaves ample room without letting a hostile stream make us
// allocate much.
inline constexpr std::size_t kMaxBinaryEmblemBytes = std::size_t{1} << 20;

// Replaces the document's content with the file's emblem: UpdateBegins, clear, the info root and
// one layer per record (each setter before its NodeAdded), UpdateEnds(1). Files that are too
// short, damaged packed bodies and oversized ones are refused: the document is left empty,
// UpdateEnds(0) fires and `error` says why.
bool readBinaryEmblem(EmblemDocument& document, const std::filesystem::path& path,
                      std::string* error = nullptr);
bool readBinaryEmblemFromMemory(EmblemDocument& document, std::span<const std::uint8_t> bytes,
                                std::string* error = nullptr);

// The file's bytes for the document: its first 511 layers in depth-first order with their
// effective vertices clamped to -128 ... 127. Packed files carry flag byte 0x84, plain ones 0x04.
std::vector<std::uint8_t> binaryEmblemBytes(const EmblemDocument& document, bool packed = false);
// Saves atomically: a failed write leaves an existing file as it was.
bool writeBinaryEmblem(const EmblemDocument& document, const std::filesystem::path& path,
                       bool packed = false, std::string* error = nullptr);

// The record's tone word: hue, lightness and saturation codes of its 6-bit colour, written for
// other readers of the format and ignored on reading.
std::uint32_t binaryToneWord(std::uint32_t color);

}  // namespace orvane
