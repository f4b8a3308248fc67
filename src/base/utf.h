#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// UTF-8 to UTF-16; every malformed sequence becomes U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);
// The longest prefix of at most maxUnits code units that does not split a surrogate pair.
std::u16string_view cutUtf16(std::u16string_view text, std::size_t maxUnits);
// The longest prefix of at most maxBytes bytes that does not split a UTF-8 sequence.
std::string_view cutUtf8(std::string_view text, std::size_t maxBytes);

}  // namespace orvane
