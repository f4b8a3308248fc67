#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// A first pass over the text of an XML emblem file, before the parser builds its tree. It keeps
// the parser's memory and time in proportion to what an emblem can hold: the parser takes about
// a hundred bytes for every node and attribute, whatever the file spends on them, and checks each
// new attribute against all the earlier ones of its element.
inline constexpr std::size_t kMaxXmlNodes = 200'000;  // elements, texts, comments and the like
inline constexpr std::size_t kMaxXmlAttributesPerElement = 256;
inline constexpr std::size_t kMaxXmlAttributes = 1'600'000;

// Counts the nodes and attributes (false with a reason beyond the limits above) and blanks
// processing instructions other than the XML declaration, which XML allows anywhere but the
// parser only at the very start: `text` then holds a copy in which each of them is spaces (line
// ends kept, so the parser's line numbers stay right); it is left empty when nothing was blanked.
// Markup the pass cannot follow (an unterminated comment, say) ends it quietly: the parser
// then refuses the file with its own reason.
bool screenXmlText(std::string_view bytes, std::string& text, std::string* error = nullptr);

}  // namespace orvane
