#pragma once

#include <string>

#include "document/emblem_document.h"

namespace orvane {

// Ends a failed read the way every emblem reader does: the document is left empty, UpdateEnds(0)
// tells its observers, and the reason goes to the caller. Always false.
bool failRead(EmblemDocument& document, std::string* error, std::string reason);

}  // namespace orvane
