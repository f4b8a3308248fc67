#include "cli/command_list.h"

#include <algorithm>

#include "cli/commands.h"
#include "cli/render_command.h"

namespace orvane::cli {
namespace {

// Synopses wrap onto lines of their own; descriptions are indented into a column of their own.
constexpr Command kCommands[] = {
    {"info", runInfo, "FILE [--json]",
     "show an emblem's name, author, size, sound, layer and group\n"
     "counts; --json prints the whole tree with every field"},
    {"convert", runConvert, "IN OUT [--packed]",
     "convert between emblem formats, chosen by extension\n"
     "(.ovml XML, .ovr binary; --packed packs a binary file); an\n"
     "OUT ending in .png, .jpg, .bmp or .tga renders the emblem\n"
     "as render does with its defaults"},
    {"render", runRenderCommand,
     "IN OUT [--scale S] [--no-color-correction] [--blur] [--background checker|RRGGBB]",
     "draw an emblem into a picture (defaults: scale 4, colour\n"
     "correction on, no blur, checker background)"},
    {"blockart", runBlockArt, "PICTURE OUT [--part N] [--size WxH] [--into EMBLEM]",
     "turn a BMP, JPEG, TGA or PNG picture into a group of 15 x 15\n"
     "square layers of part N (default 242) laid out for an emblem\n"
     "of WxH (default 192x96), on top of EMBLEM or of a new emblem"},
    {"batch", runBatch,
     "INDIR OUTDIR [--format png|jpg|bmp|tga] [--scale S] [--no-color-correction]\n"
     "[--no-blur] [--background checker|RRGGBB] [--jobs N]",
     "export every .ovr file of INDIR as \"NAME (AUTHOR).jpg\" in\n"
     "OUTDIR (defaults: jpg, scale 1, colour correction, blur,\n"
     "checker); N worker threads, one per core by default"},
    {"randomart", runRandomArt,
     "PICTURE OUT [--mode evolve|fit] [--seed N] [--seconds S] [--into EMBLEM]\n"
     "evolve: [--iterations N] [--set NAME=VALUE]... [--dna-in F] [--dna-out F]\n"
     "fit:    [--layers N] [--dna-out F]",
     "approximate a BMP, JPEG, TGA or PNG picture with layers and\n"
     "write them as one group of a new emblem, or on top of EMBLEM;\n"
     "progress on stderr; the seed N is 0 ... 18446744073709551615.\n"
     "--mode evolve (the default): the editor's simulation, for N\n"
     "iterations (default 20000) or S seconds; resume from and save\n"
     "DNA files.\n"
     "--mode fit: add the best layer found one at a time on a\n"
     "backdrop, then polish them while time remains; S seconds\n"
     "(default 10), N layers with the backdrop (1 ... 511, default\n"
     "225). Each mode refuses the other's options."},
    {"thumbnail", runThumbnail, "[-s SIZE] IN OUT",
     "draw a preview of an emblem file as a PNG picture no larger\n"
     "than SIZE x SIZE (16 ... 4096, default 256), keeping its proportions; for\n"
     "file managers: a damaged file writes nothing"},
};

constexpr std::string_view kExitStatus =
    "Exit status: 0 success, 1 failure (the reason goes to stderr), 2 usage error,\n"
    "130 stopped by Ctrl+C.\n";

// Every line of `text` after `indent`.
std::string indented(std::string_view text, std::string_view indent) {
  std::string out;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    out.append(indent).append(text.substr(start, end - start)).append("\n");
    start = end + 1;
  }
  return out;
}

// The synopsis's continuation lines lined up under its first argument.
std::string synopsisLines(const Command& command, std::string_view lead) {
  const std::string first = std::string(lead) + std::string(command.name) + " ";
  const std::string rest = indented(command.synopsis, std::string(first.size(), ' '));
  return first + rest.substr(first.size());
}

}  // namespace

std::span<const Command> commands() { return kCommands; }

const Command* findCommand(std::string_view name) {
  for (const Command& command : kCommands) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

std::string programHelp() {
  std::string help = "Usage: orvane COMMAND [ARGUMENTS]\n\nCommands:\n";
  constexpr std::size_t kColumn = 30;
  for (const Command& command : kCommands) {
    help += synopsisLines(command, "  ");
    std::string description = indented(command.description, std::string(kColumn, ' '));
    // A short synopsis shares its line with the description's first line.
    const std::size_t lineStart = help.rfind('\n', help.size() - 2) + 1;
    if (help.size() - 1 - lineStart < kColumn - 1) {
      help.pop_back();
      help.append(kColumn - (help.size() - lineStart), ' ');
      description.erase(0, kColumn);
    }
    help += description;
  }
  help +=
      "\nOptions:\n"
      "  --help                      show this help (after a command: that command's help)\n"
      "  --version                   show the version\n\n";
  return help.append(kExitStatus);
}

std::string commandHelp(const Command& command) {
  std::string help = synopsisLines(command, "Usage: orvane ");
  help += "\n" + indented(command.description, "  ");
  help += "\n  --help   show this help\n\n";
  return help.append(kExitStatus);
}

}  // namespace orvane::cli
