#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "base/failure.h"
#include "cli/commands.h"
#include "cli/export_options.h"
#include "cli/interruption.h"
#include "formats/parts_atlas.h"
#include "resources/embedded_parts_atlas.h"
#include "tools/batch/batch_conversion.h"

namespace orvane::cli {
namespace {

std::optional<ImageFormat> formatNamed(const std::string& name) {
  if (name == "png") return ImageFormat::Png;
  if (name == "jpg" || name == "jpeg") return ImageFormat::Jpeg;
  if (name == "bmp") return ImageFormat::Bmp;
  if (name == "tga") return ImageFormat::Tga;
  return std::nullopt;
}

// Reads the options into `settings`; false with the usage error in `problem`.
bool readOptions(const ParsedArguments& parsed, BatchSettings& settings, std::string* problem) {
  if (const std::string* format = parsed.value("--format")) {
    const std::optional<ImageFormat> f = formatNamed(*format);
    if (!f) return fail(problem, "--format needs png, jpg, bmp or tga, not \"" + *format + "\"");
    settings.format = *f;
  }
  settings.picture.colourConversion = !parsed.has("--no-color-correction");
  settings.picture.blur = !parsed.has("--no-blur");
  if (!readExportOptions(parsed, settings.picture, problem)) return false;
  if (const std::string* jobs = parsed.value("--jobs")) {
    const std::optional<std::int64_t> n = wholeNumberWithin(*jobs, 1, 256);
    if (!n) return fail(problem, optionProblem("--jobs", "a number of threads 1 ... 256", *jobs));
    settings.jobs = int(*n);
  }
  return true;
}

bool isFolder(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

}  // namespace

// orvane batch INDIR OUTDIR [--format F] [--scale S] [--no-color-correction] [--no-blur]
//                           [--background checker|RRGGBB] [--jobs N]
// Every .ovr file of INDIR as a picture in OUTDIR, named after the emblem and its author.
int runBatch(const Arguments& arguments) {
  const ParsedArguments parsed = parseArguments(arguments, {"--no-color-correction", "--no-blur"},
                                                {"--format", "--scale", "--background", "--jobs"});
  if (!parsed.problem.empty()) return reportUsageError(parsed.problem);
  if (parsed.positional.size() != 2) {
    return reportUsageError("batch takes an input folder and an output folder");
  }
  BatchSettings settings;
  std::string problem;
  if (!readOptions(parsed, settings, &problem)) return reportUsageError(problem);
  settings.inputFolder = parsed.positional[0];
  settings.outputFolder = parsed.positional[1];
  // Missing folders are refused up front rather than failing every file.
  if (!isFolder(settings.inputFolder)) return reportFailure(parsed.positional[0], "no such folder");
  if (!isFolder(settings.outputFolder)) {
    return reportFailure(parsed.positional[1], "no such folder");
  }
  PartsAtlasBuffer atlas;
  if (!loadEmbeddedPartsAtlas(atlas)) {
    return reportFailure(parsed.positional[0], "the parts atlas is missing from this build");
  }

  const bool showProgress = isatty(STDERR_FILENO) == 1;
  BatchProgress progress;
  if (showProgress) {
    progress = [](int position, int total) {
      std::cerr << "\rconverting " << position << " / " << total << std::flush;
    };
  }
  // The first Ctrl+C lets the files in hand finish and starts no new one.
  const BatchReport report = RunBatchConversion(settings, atlas.pixels(), keepRunning(), progress);
  if (showProgress && report.handled > 0) std::cerr << '\n';

  for (const BatchFailure& failure : report.failures) {
    reportFailure(failure.file.string(),
                  failure.output.empty()
                      ? failure.reason
                      : "cannot write " + failure.output.string() + ": " + failure.reason);
  }
  std::cout << report.written << (report.written == 1 ? " picture" : " pictures") << " written, "
            << report.failures.size() << " of " << report.total << " files failed";
  if (report.replaced > 0) {
    std::cout << ", " << report.replaced
              << (report.replaced == 1 ? " file replaced by a later one"
                                       : " files replaced by later ones")
              << " with the same output name";
  }
  std::cout << '\n';
  if (report.cancelled) {
    reportFailure(parsed.positional[0], "interrupted after " + std::to_string(report.handled) +
                                            " of " + std::to_string(report.total) + " files");
    return kExitInterrupted;
  }
  return report.failures.empty() ? kExitSuccess : kExitFailure;
}

}  // namespace orvane::cli
