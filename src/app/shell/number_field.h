#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvane {

// The number in a property page's number field (author ID, width, height, vertex coordinates),
// read as a decimal integer: optional blanks and sign, then the leading digits; whatever follows
// is ignored. A text without digits ("", "-", "abc") gives 0, and a number beyond the 32-bit
// range is held to its nearest end.
std::int32_t numberFieldValue(std::string_view text);

// The text a number field shows for a value, independent of the locale.
std::string numberFieldText(std::int32_t value);

}  // namespace orvane
