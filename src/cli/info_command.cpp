#include <iostream>

#include "base/utf.h"
#include "cli/commands.h"
#include "cli/emblem_json.h"
#include "formats/emblem_file.h"

namespace orvane::cli {

// orvane info FILE [--json]: what an emblem file holds.
int runInfo(const Arguments& arguments) {
  const ParsedArguments parsed = parseArguments(arguments, {"--json"}, {});
  if (!parsed.problem.empty()) return reportUsageError(parsed.problem);
  if (parsed.positional.size() != 1) return reportUsageError("info takes one emblem file");
  const std::string& path = parsed.positional[0];

  EmblemDocument document;
  std::string error;
  if (!readEmblemFile(document, path, &error)) return reportFailure(path, error);

  if (parsed.has("--json")) {
    std::cout << emblemJson(document);
    return kExitSuccess;
  }
  const EmblemNode* root = document.root();
  if (!root) {
    std::cout << "empty emblem file: it holds no emblem\n";
    return kExitSuccess;
  }
  const EmblemInfo& info = root->info();
  std::cout << "name:   " << printable(utf16ToUtf8(root->name())) << '\n'
            << "author: " << info.authorId << '\n'
            << "size:   " << info.width << " x " << info.height << '\n'
            << "sound:  " << info.sound << '\n'
            << "layers: " << EmblemDocument::countKind(root, NodeKind::Layer) << '\n'
            << "groups: " << EmblemDocument::countKind(root, NodeKind::Group) << '\n';
  return kExitSuccess;
}

}  // namespace orvane::cli
