#pragma once

#include "cli/cli_support.h"

namespace orvane::cli {

// Each command takes the arguments after its own name and returns the exit status.
int runInfo(const Arguments& arguments);
int runConvert(const Arguments& arguments);
int runRandomArt(const Arguments& arguments);
int runBlockArt(const Arguments& arguments);
int runBatch(const Arguments& arguments);
int runThumbnail(const Arguments& arguments);

}  // namespace orvane::cli
