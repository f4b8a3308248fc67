#include "tools/batch/batch_output_name.h"

#include "base/numbers.h"
#include "base/utf.h"

namespace orvane {
namespace {

// `stem` cut so that stem + suffix fits the file-name limit.
std::string fitName(std::string_view stem, std::string_view suffix) {
  const std::size_t room =
      suffix.size() < kMaxOutputNameBytes ? kMaxOutputNameBytes - suffix.size() : 0;
  std::string name(cutUtf8(stem, room));
  name += suffix;
  return name;
}

}  // namespace

std::string_view imageExtension(ImageFormat format) {
  switch (format) {
    case ImageFormat::Bmp:
      return ".bmp";
    case ImageFormat::Jpeg:
      return ".jpg";
    case ImageFormat::Tga:
      return ".tga";
    case ImageFormat::Png:
      return ".png";
  }
  return ".jpg";
}

std::string fileNameFromEmblemName(std::u16string_view name) {
  std::u16string safe(name);
  for (char16_t& c : safe) {
    if (c == u'/' || c < 0x20 || (c >= 0x7F && c <= 0x9F)) c = u'_';
  }
  return utf16ToUtf8(safe);
}

std::filesystem::path batchOutputPath(const std::filesystem::path& outputFolder, ImageFormat format,
                                      const EmblemDocument& document, std::string_view fileName) {
  const std::string_view baseName =
      fileName.substr(0, fileName.size() >= 4 ? fileName.size() - 4 : 0);
  const std::string_view extension = imageExtension(format);
  const EmblemNode* root = document.root();
  if (!root || root->kind() != NodeKind::Info) {
    return outputFolder / fitName(baseName, extension);
  }
  std::string name = fileNameFromEmblemName(root->name());
  if (name.empty()) name = baseName;
  const std::string suffix = " (" + formatInt(root->info().authorId) + ")" + std::string(extension);
  return outputFolder / fitName(name, suffix);
}

}  // namespace orvane
