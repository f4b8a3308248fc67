#include <unistd.h>

#include <atomic>
#include <cmath>
#include <csignal>
#include <filesystem>
#include <iostream>

#include "base/failure.h"
#include "base/numbers.h"
#include "cli/commands.h"
#include "formats/parts_atlas.h"
#include "resources/embedded_parts_atlas.h"
#include "tools/batch/batch_conversion.h"

namespace orvane::cli {
namespace {

// Cleared by the first Ctrl+C: the files in hand finish, no new one is started.
std::atomic<bool> batchRunning{true};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void stopBatchOnInterrupt(int) { batchRunning.store(false); }

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
  if (const std::string* scale = parsed.value("--scale")) {
    const std::optional<double> value = scanDouble(*scale);
    if (!value || !std::isfinite(*value) || !(*value > 0)) {
      return fail(problem, "--scale needs a number above 0, not \"" + *scale + "\"");
    }
    settings.picture.scale = float(*value);
  }
  settings.picture.colourConversion = !parsed.has("--no-color-correction");
  settings.picture.blur = !parsed.has("--no-blur");
  if (const std::string* background = parsed.value("--background")) {
    if (*background != "checker") {
      settings.picture.checkerBackground = false;
      if (!parseRgbColour(*background, settings.picture.backgroundColour)) {
        return fail(problem, "--background needs \"checker\" or a colour RRGGBB, not \"" +
                                 *background + "\"");
      }
    }
  }
  if (const std::string* jobs = parsed.value("--jobs")) {
    const std::optional<std::int32_t> n = scanInt(*jobs);
    if (!n || *n < 1 || *n > 256 || jobs->find_first_not_of("0123456789") != std::string::npos) {
      return fail(problem, "--jobs needs a number of threads 1 ... 256, not \"" + *jobs + "\"");
    }
    settings.jobs = *n;
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
  batchRunning = true;
  const auto previousHandler = std::signal(SIGINT, stopBatchOnInterrupt);
  const BatchReport report = RunBatchConversion(settings, atlas.pixels(), batchRunning, progress);
  std::signal(SIGINT, previousHandler);
  if (showProgress && report.handled > 0) std::cerr << '\n';

  for (const BatchFailure& failure : report.failures) {
    reportFailure(failure.file.string(), failure.reason);
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
    return reportFailure(parsed.positional[0], "interrupted after " +
                                                   std::to_string(report.handled) + " of " +
                                                   std::to_string(report.total) + " files");
  }
  return report.failures.empty() ? kExitSuccess : kExitFailure;
}

}  // namespace orvane::cli
