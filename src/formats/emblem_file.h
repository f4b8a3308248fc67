#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "document/emblem_document.h"

namespace orvane {

// The two emblem file formats, told apart by extension (case-insensitive): ".ovml" is the XML
// file, ".ovr" the enciphered binary file.
enum class EmblemFileType { Xml, Binary };

std::optional<EmblemFileType> emblemFileTypeOf(const std::filesystem::path& path);
// Lower-case extension with its dot (".ovml"), or empty.
std::string lowerCaseExtension(const std::filesystem::path& path);

struct EmblemWriteOptions {
  bool packed = false;  // binary files only: pack the body before enciphering it
};

// Reads or writes an emblem in the format its extension names; false with a reason otherwise.
bool readEmblemFile(EmblemDocument& document, const std::filesystem::path& path,
                    std::string* error = nullptr);
// Loads without risking the open emblem: the file is read into a document of its own, and only
// when it was read well and holds an emblem is its tree moved into `document`
// (EmblemDocument::takeContentFrom: UpdateBegins, Cleared, NodeAdded of the root, UpdateEnds(1)).
// On failure `document` is left exactly as it was and its observers hear nothing.
bool loadEmblemFile(EmblemDocument& document, const std::filesystem::path& path,
                    EmblemFileType type, std::string* error = nullptr);
// The same with the type taken from the extension.
bool loadEmblemFile(EmblemDocument& document, const std::filesystem::path& path,
                    std::string* error = nullptr);
bool writeEmblemFile(const EmblemDocument& document, const std::filesystem::path& path,
                     const EmblemWriteOptions& options = {}, std::string* error = nullptr);

}  // namespace orvane
