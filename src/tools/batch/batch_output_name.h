#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "document/emblem_document.h"
#include "render/picture_file.h"

namespace orvane {

// The longest file name (in bytes) the batch conversion makes, the usual file-system limit.
inline constexpr std::size_t kMaxOutputNameBytes = 255;

// ".bmp", ".jpg", ".tga" or ".png".
std::string_view imageExtension(ImageFormat format);

// An emblem name as part of a file name, in UTF-8: '/' and control characters (U+0000 ... U+001F,
// U+007F ... U+009F) become '_', since no file system takes the first and the others make names
// that cannot be typed or shown; everything else, Japanese included, is kept.
std::string fileNameFromEmblemName(std::u16string_view name);

// Where the picture of the emblem file `fileName` (a name ending in ".ovr") goes:
// - when the document's root is an info node, "<folder>/<name> (<author ID>)<extension>", the
//   name made safe as above, or the file's base name (its name without the last four characters)
//   when the emblem's name is empty;
// - otherwise "<folder>/<base name><extension>" (the export then refuses such a document).
// Names are cut, never inside a UTF-8 sequence, so that the whole file name fits
// kMaxOutputNameBytes. The author ID is written without regard to the locale.
std::filesystem::path batchOutputPath(const std::filesystem::path& outputFolder, ImageFormat format,
                                      const EmblemDocument& document, std::string_view fileName);

}  // namespace orvane
