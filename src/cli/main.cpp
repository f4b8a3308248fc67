#include <iostream>
#include <string_view>

#include "cli/commands.h"
#include "cli/render_command.h"
#include "core_version.h"

namespace {

using orvane::cli::Arguments;

struct Command {
  std::string_view name;
  int (*run)(const Arguments&);
};

constexpr Command kCommands[] = {
    {"info", orvane::cli::runInfo},
    {"convert", orvane::cli::runConvert},
    {"render", orvane::cli::runRenderCommand},
    {"blockart", orvane::cli::runBlockArt},
    {"batch", orvane::cli::runBatch},
    {"randomart", orvane::cli::runRandomArt},
};

constexpr std::string_view kUsage = R"(Usage: orvane COMMAND [ARGUMENTS]

Commands:
  info FILE [--json]          show an emblem's name, author, size, sound, layer and group
                              counts; --json prints the whole tree with every field
  convert IN OUT [--packed]   convert between emblem formats, chosen by extension
                              (.ovml XML, .ovr binary; --packed packs a binary file); an
                              OUT ending in .png, .jpg, .bmp or .tga renders the emblem
                              as render does with its defaults
  render IN OUT [--scale S] [--no-color-correction] [--blur] [--background checker|RRGGBB]
                              draw an emblem into a picture (defaults: scale 4, colour
                              correction on, no blur, checker background)
  blockart PICTURE OUT [--part N] [--size WxH] [--into EMBLEM]
                              turn a BMP, JPEG, TGA or PNG picture into a group of 15 x 15
                              square layers of part N (default 242) laid out for an emblem
                              of WxH (default 192x96), on top of EMBLEM or of a new emblem
  batch INDIR OUTDIR [--format png|jpg|bmp|tga] [--scale S] [--no-color-correction]
        [--no-blur] [--background checker|RRGGBB] [--jobs N]
                              export every .ovr file of INDIR as "NAME (AUTHOR).jpg" in
                              OUTDIR (defaults: jpg, scale 1, colour correction, blur,
                              checker); N worker threads, one per core by default
  randomart PICTURE OUT [--seed N] [--iterations N | --seconds S] [--set NAME=VALUE]...
            [--dna-in F] [--dna-out F] [--into EMBLEM]
                              evolve layers towards a BMP, JPEG, TGA or PNG picture and
                              write them as a new emblem, or on top of EMBLEM; resume from
                              and save DNA files; progress on stderr (default 20000
                              iterations)

Options:
  --help                      show this help
  --version                   show the version

Exit status: 0 success, 1 failure (the reason goes to stderr), 2 usage error.
)";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return orvane::cli::reportUsageError("no command given");
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h" || first == "help") {
    std::cout << kUsage;
    return orvane::cli::kExitSuccess;
  }
  if (first == "--version") {
    std::cout << "orvane " << orvane::coreVersion() << '\n';
    return orvane::cli::kExitSuccess;
  }
  const Arguments arguments(argv + 2, argv + argc);
  for (const Command& command : kCommands) {
    if (command.name == first) return command.run(arguments);
  }
  return orvane::cli::reportUsageError("unknown command '" + std::string(first) + "'");
}
