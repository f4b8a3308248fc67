#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "document/emblem_document.h"

namespace orvane {

// The XML emblem file (.ovml): the full-fidelity text form of an emblem, keeping groups, names,
// visibility, 8-bit colour channels and a fine alpha. UTF-8 with CR LF line ends.

// Files larger than this are refused unread.
inline constexpr std::size_t kMaxXmlEmblemBytes = std::size_t{64} << 20;
// Files with more layers, groups and images than this are refused: no emblem needs them, and
// memory then stays in proportion (the markup itself is limited by xml_screening.h).
inline constexpr std::size_t kMaxEmblemNodes = 100'000;

// Replaces the document's content with the file's emblem. Fires UpdateBegins, clears, builds the
// tree (each node's setter fires before its NodeAdded) and ends with UpdateEnds(1). A file
// without a top-level <ov> element gives an empty document and true. On failure the document is
// left empty, UpdateEnds(0) fires and `error` gets a short reason. Processing instructions are
// passed over wherever they stand.
bool readXmlEmblem(EmblemDocument& document, const std::filesystem::path& path,
                   std::string* error = nullptr);
// The same for a file already in memory.
bool readXmlEmblemFromMemory(EmblemDocument& document, std::string_view bytes,
                             std::string* error = nullptr);

// Saves the document atomically: a failed write leaves an existing file as it was.
bool writeXmlEmblem(const EmblemDocument& document, const std::filesystem::path& path,
                    std::string* error = nullptr);
// The exact bytes writeXmlEmblem writes.
std::string xmlEmblemText(const EmblemDocument& document);

}  // namespace orvane
