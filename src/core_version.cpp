#include "core_version.h"

namespace orvane {
const char* coreVersion() { return kVersion; }
}  // namespace orvane
