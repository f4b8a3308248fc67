#include "formats/emblem_file.h"

#include <algorithm>

#include "formats/binary_emblem_file.h"
#include "formats/xml_emblem_file.h"

namespace orvane {
namespace {

void setError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

std::string lowerCaseExtension(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  });
  return extension;
}

std::optional<EmblemFileType> emblemFileTypeOf(const std::filesystem::path& path) {
  const std::string extension = lowerCaseExtension(path);
  if (extension == ".ovml") return EmblemFileType::Xml;
  if (extension == ".ovr") return EmblemFileType::Binary;
  return std::nullopt;
}

bool readEmblemFile(EmblemDocument& document, const std::filesystem::path& path,
                    std::string* error) {
  const auto type = emblemFileTypeOf(path);
  if (!type) {
    setError(error, "not an emblem file (expected .ovml or .ovr)");
    return false;
  }
  if (*type == EmblemFileType::Binary) return readBinaryEmblem(document, path, error);
  return readXmlEmblem(document, path, error);
}

bool writeEmblemFile(const EmblemDocument& document, const std::filesystem::path& path,
                     const EmblemWriteOptions& options, std::string* error) {
  const auto type = emblemFileTypeOf(path);
  if (!type) {
    setError(error, "not an emblem file (expected .ovml or .ovr)");
    return false;
  }
  if (*type == EmblemFileType::Binary) {
    return writeBinaryEmblem(document, path, options.packed, error);
  }
  if (options.packed) {
    setError(error, "only binary emblem files can be packed");
    return false;
  }
  return writeXmlEmblem(document, path, error);
}

}  // namespace orvane
