#include "formats/xml_screening.h"

#include "base/failure.h"
#include "base/numbers.h"

namespace orvane {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Whether a processing instruction ("<?" ... "?>") has the target "xml" in any case: the
// declaration.
bool isDeclaration(std::string_view instruction) {
  if (instruction.size() < 7) return false;  // "<?xml?>"
  for (std::size_t i = 0; i < 3; ++i) {
    if ((instruction[2 + i] | 0x20) != "xml"[i]) return false;
  }
  return isSpace(instruction[5]) || instruction[5] == '?';
}

// Walks markup the way the parser tells its nodes apart: comments, CDATA sections and other
// "<!" declarations, processing instructions, end tags and elements, whose attribute values
// may hold any character but their quote; text is everything in between.
class Screen {
 public:
  explicit Screen(std::string_view bytes) : in_(bytes) {}

  bool run(std::string& text, std::string* error) {
    std::size_t at = 0;
    while (at < in_.size()) {
      const std::size_t open = in_.find('<', at);
      if (hasNonSpace(at, open == std::string_view::npos ? in_.size() : open)) ++nodes_;
      if (open == std::string_view::npos) break;
      at = markup(open, text);
      if (at == std::string_view::npos) break;
      if (nodes_ > kMaxXmlNodes) {
        return fail(error, "more than " + formatInt(kMaxXmlNodes) + " XML nodes");
      }
      if (tooManyAttributes_) {
        return fail(error, "an element with more than " + formatInt(kMaxXmlAttributesPerElement) +
                               " attributes");
      }
      if (attributes_ > kMaxXmlAttributes) {
        return fail(error, "more than " + formatInt(kMaxXmlAttributes) + " attributes");
      }
    }
    return true;
  }

 private:
  bool hasNonSpace(std::size_t from, std::size_t to) const {
    for (std::size_t i = from; i < to; ++i) {
      if (!isSpace(in_[i]) && in_[i] != '\v' && in_[i] != '\f') return true;
    }
    return false;
  }

  // The position after the markup starting at `open`; npos when it does not end.
  std::size_t markup(std::size_t open, std::string& text) {
    const std::string_view rest = in_.substr(open);
    ++nodes_;
    if (rest.starts_with("<!--")) return after(in_.find("-->", open + 4), 3);
    if (rest.starts_with("<![CDATA[")) return after(in_.find("]]>", open + 9), 3);
    if (rest.starts_with("<!")) return after(in_.find('>', open + 2), 1);
    if (rest.starts_with("<?")) {
      const std::size_t end = after(in_.find("?>", open + 2), 2);
      if (end != std::string_view::npos && !isDeclaration(in_.substr(open, end - open))) {
        blank(open, end, text);
        --nodes_;
      }
      return end;
    }
    if (rest.starts_with("</")) {
      --nodes_;
      return after(in_.find('>', open + 2), 1);
    }
    return element(open);
  }

  std::size_t element(std::size_t open) {
    std::size_t count = 0;
    char quote = 0;
    for (std::size_t i = open + 1; i < in_.size(); ++i) {
      const char c = in_[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '=') {
        ++count;
      } else if (c == '>') {
        attributes_ += count;
        tooManyAttributes_ = count > kMaxXmlAttributesPerElement;
        return i + 1;
      }
    }
    return std::string_view::npos;
  }

  static std::size_t after(std::size_t found, std::size_t length) {
    return found == std::string_view::npos ? found : found + length;
  }

  void blank(std::size_t from, std::size_t to, std::string& text) const {
    if (text.empty()) text.assign(in_);
    for (std::size_t i = from; i < to; ++i) {
      if (text[i] != '\n' && text[i] != '\r') text[i] = ' ';
    }
  }

  std::string_view in_;
  std::size_t nodes_ = 0;
  std::size_t attributes_ = 0;
  bool tooManyAttributes_ = false;
};

}  // namespace

bool screenXmlText(std::string_view bytes, std::string& text, std::string* error) {
  text.clear();
  Screen screen(bytes);
  if (screen.run(text, error)) return true;
  text.clear();
  return false;
}

}  // namespace orvane
