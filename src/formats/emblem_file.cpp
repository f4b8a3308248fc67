#include "formats/emblem_file.h"

#include <algorithm>

#include "base/failure.h"
#include "formats/binary_emblem_file.h"
#include "formats/xml_emblem_file.h"

namespace orvane {
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
  if (!type) return fail(error, "not an emblem file (expected .ovml or .ovr)");
  if (*type == EmblemFileType::Binary) return readBinaryEmblem(document, path, error);
  return readXmlEmblem(document, path, error);
}

bool loadEmblemFile(EmblemDocument& document, const std::filesystem::path& path,
                    EmblemFileType type, std::string* error) {
  EmblemDocument loaded;
  const bool read = type == EmblemFileType::Binary ? readBinaryEmblem(loaded, path, error)
                                                   : readXmlEmblem(loaded, path, error);
  if (!read) return false;
  // An XML file without its <ov> element reads as an empty document: nothing to open.
  if (!loaded.root()) return fail(error, "the file holds no emblem");
  return document.takeContentFrom(loaded);
}

bool loadEmblemFile(EmblemDocument& document, const std::filesystem::path& path,
                    std::string* error) {
  const auto type = emblemFileTypeOf(path);
  if (!type) return fail(error, "not an emblem file (expected .ovml or .ovr)");
  return loadEmblemFile(document, path, *type, error);
}

bool writeEmblemFile(const EmblemDocument& document, const std::filesystem::path& path,
                     const EmblemWriteOptions& options, std::string* error) {
  const auto type = emblemFileTypeOf(path);
  if (!type) return fail(error, "not an emblem file (expected .ovml or .ovr)");
  if (*type == EmblemFileType::Binary) {
    return writeBinaryEmblem(document, path, options.packed, error);
  }
  if (options.packed) return fail(error, "only binary emblem files can be packed");
  return writeXmlEmblem(document, path, error);
}

}  // namespace orvane
