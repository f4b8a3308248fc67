#pragma once

#include <string>

#include "document/emblem_document.h"

namespace orvane::cli {

// The whole emblem tree as JSON: every node with its kind, name, visibility and every field of
// its record. Numbers are written without the locale; a non-finite float becomes null.
std::string emblemJson(const EmblemDocument& document);

}  // namespace orvane::cli
