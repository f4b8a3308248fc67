#include "app/shell/file_types.h"

#include <array>
#include <filesystem>

namespace orvane {
namespace {

constexpr std::array<FileFilter, 4> kOpenFilters = {{
    {"オーヴェイン", "*.ovml;*.ovr"},
    {"OVML ファイル (*.ovml)", "*.ovml"},
    {"OVR ファイル (*.ovr)", "*.ovr"},
    {"すべてのファイル", "*.*"},
}};

constexpr std::array<FileFilter, 7> kSaveFilters = {{
    {"OVML ファイル (*.ovml)", "*.ovml"},
    {"OVR ファイル (*.ovr)", "*.ovr"},
    {"BMP ファイル (*.bmp)", "*.bmp"},
    {"JPEG ファイル (*.jpg)", "*.jpg"},
    {"TGA ファイル (*.tga)", "*.tga"},
    {"PNG ファイル (*.png)", "*.png"},
    {"すべてのファイル", "*.*"},
}};

constexpr std::array<FileFilter, 6> kPictureFilters = {{
    {"イメージファイル", "*.bmp;*.jpg;*.tga;*.png"},
    {"BMP ファイル (*.bmp)", "*.bmp"},
    {"JPEG ファイル (*.jpg)", "*.jpg"},
    {"TGA ファイル (*.tga)", "*.tga"},
    {"PNG ファイル (*.png)", "*.png"},
    {"すべてのファイル", "*.*"},
}};

constexpr std::array<FileFilter, 2> kDnaFilters = {{
    {"DNA ファイル (*.dna)", "*.dna"},
    {"すべてのファイル", "*.*"},
}};

// Save types 1 … 6 make sure the name carries their extension; type 7 takes any name.
constexpr std::array<std::string_view, 6> kSaveExtensions = {".ovml", ".ovr", ".bmp",
                                                             ".jpg",  ".tga", ".png"};

constexpr std::array<ImageFormat, 4> kPictureFormats = {ImageFormat::Bmp, ImageFormat::Jpeg,
                                                        ImageFormat::Tga, ImageFormat::Png};

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  const std::string_view tail = text.substr(text.size() - ending.size());
  for (std::size_t i = 0; i < ending.size(); ++i) {
    if (lowerAscii(tail[i]) != lowerAscii(ending[i])) return false;
  }
  return true;
}

}  // namespace

std::span<const FileFilter> openFileFilters() { return kOpenFilters; }

std::span<const FileFilter> saveFileFilters() { return kSaveFilters; }

std::span<const FileFilter> pictureFileFilters() { return kPictureFilters; }

std::span<const FileFilter> dnaFileFilters() { return kDnaFilters; }

std::string dialogFilterText(const FileFilter& filter) {
  std::string patterns(filter.patterns);
  for (char& c : patterns) {
    if (c == ';') c = ' ';
  }
  const std::string suffix = "(" + patterns + ")";
  if (filter.label.ends_with(suffix)) return std::string(filter.label);
  return std::string(filter.label) + " " + suffix;
}

std::optional<EmblemFileType> readerForPath(std::string_view path) {
  return emblemFileTypeOf(std::filesystem::path(path));
}

std::optional<EmblemFileType> readerForOpenFilter(int filterIndex, std::string_view path) {
  switch (filterIndex) {
    case 1:
      return readerForPath(path);
    case 2:
    case 4:
      return EmblemFileType::Xml;
    case 3:
      return EmblemFileType::Binary;
    default:
      return std::nullopt;
  }
}

std::optional<SaveTarget> saveTargetForFilter(int filterIndex) {
  switch (filterIndex) {
    case 1:
    case 7:
      return SaveTarget{SaveTarget::Kind::EmblemFile, EmblemFileType::Xml};
    case 2:
      return SaveTarget{SaveTarget::Kind::EmblemFile, EmblemFileType::Binary};
    case 3:
    case 4:
    case 5:
    case 6:
      return SaveTarget{SaveTarget::Kind::Picture, EmblemFileType::Xml,
                        kPictureFormats[filterIndex - 3]};
    default:
      return std::nullopt;
  }
}

std::string withSaveExtension(std::string path, int filterIndex) {
  if (filterIndex < 1 || filterIndex > static_cast<int>(kSaveExtensions.size())) return path;
  const std::string_view extension = kSaveExtensions[filterIndex - 1];
  if (!endsWithIgnoringCase(path, extension)) path += extension;
  return path;
}

int saveFilterForPath(std::string_view currentPath, int lastChosenFilter) {
  const auto type = readerForPath(currentPath);
  if (!type) return lastChosenFilter;
  return *type == EmblemFileType::Xml ? 1 : 2;
}

SavePlan planSave(std::string_view currentPath) {
  const auto type = readerForPath(currentPath);
  if (!type) return SavePlan{};
  return SavePlan{false, *type};
}

}  // namespace orvane
