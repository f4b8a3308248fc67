#pragma once

#include <string>
#include <utility>

namespace orvane {

// Stores the reason where the caller asked for one and returns false, so that a function that
// reports failures through an optional string can end with `return fail(error, "why");`.
inline bool fail(std::string* error, std::string what) {
  if (error) *error = std::move(what);
  return false;
}

}  // namespace orvane
