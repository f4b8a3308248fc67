#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "formats/emblem_file.h"
#include "render/picture_file.h"

namespace orvane {

// One entry of a file dialog's type list: the label shown and its ";"-separated patterns.
struct FileFilter {
  std::string_view label;
  std::string_view patterns;
};

// The open dialog's types; a chosen type is reported as its 1-based index in this list.
std::span<const FileFilter> openFileFilters();

// The save dialog's types; a chosen type is reported as its 1-based index in this list.
std::span<const FileFilter> saveFileFilters();

// The types of the tools' picture choosers (random art and block art): the four picture types
// together, each alone, and all files.
std::span<const FileFilter> pictureFileFilters();

// The types of the random-art tool's DNA import and export.
std::span<const FileFilter> dnaFileFilters();

// The filter as a file dialog takes it: the label, then the patterns in parentheses separated by
// blanks, unless the label already ends with them.
std::string dialogFilterText(const FileFilter& filter);

// The reader for a file chosen through open type `filterIndex`: the first type goes by the name's
// extension (any case), the others by the table. Nothing when the type cannot read that name.
std::optional<EmblemFileType> readerForOpenFilter(int filterIndex, std::string_view path);

// The reader for a file given without a dialog (command line, drop, browsing): by its extension.
std::optional<EmblemFileType> readerForPath(std::string_view path);

// What a save writes.
struct SaveTarget {
  enum class Kind { EmblemFile, Picture };
  Kind kind = Kind::EmblemFile;
  EmblemFileType emblemType = EmblemFileType::Xml;  // when kind is EmblemFile
  ImageFormat pictureFormat = ImageFormat::Png;     // when kind is Picture
  friend bool operator==(const SaveTarget&, const SaveTarget&) = default;
};

// The writer for save type `filterIndex`; nothing for an index outside the list.
std::optional<SaveTarget> saveTargetForFilter(int filterIndex);

// The path with the save type's extension appended unless it already ends with it (any case);
// the "all files" type and unknown indexes leave the path as it is.
std::string withSaveExtension(std::string path, int filterIndex);

// The save type the dialog preselects for the current file: the emblem type its extension names,
// otherwise the type chosen last time.
int saveFilterForPath(std::string_view currentPath, int lastChosenFilter);

// What the Save command does with the current file's path.
struct SavePlan {
  bool askWithSaveAs = true;                        // show the save dialog first
  EmblemFileType emblemType = EmblemFileType::Xml;  // otherwise write this format to the path
  friend bool operator==(const SavePlan&, const SavePlan&) = default;
};

// Save writes the current file again when its name ends in .ovml or .ovr (any case); an untitled
// emblem or any other name asks through Save As instead of guessing a format.
SavePlan planSave(std::string_view currentPath);

}  // namespace orvane
