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
bool writeEmblemFile(const EmblemDocument& document, const std::filesystem::path& path,
                     const EmblemWriteOptions& options = {}, std::string* error = nullptr);

}  // namespace orvane
