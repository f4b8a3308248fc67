#include <tinyxml2.h>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "base/utf.h"
#include "formats/read_failure.h"
#include "formats/xml_emblem_file.h"
#include "formats/xml_screening.h"

namespace orvane {
namespace {

constexpr std::u16string_view kDefaultLayerName = u"レイヤー";
constexpr std::u16string_view kDefaultGroupName = u"グループ";

// The attributes the reader knows, found in one pass over an element's attributes (looking each
// name up on its own would scan them all every time).
enum class Known {
  Name,
  Visible,
  Type,
  Color,
  Alpha,
  Ltx,
  Lty,
  Lbx,
  Lby,
  Rtx,
  Rty,
  Rbx,
  Rby,
  Author,
  Width,
  Height,
  Sound,
  Count
};

class KnownAttributes {
 public:
  explicit KnownAttributes(const tinyxml2::XMLElement& element) {
    static constexpr std::string_view kNames[] = {
        "name", "visible", "type", "color", "alpha",  "ltx",   "lty",    "lbx",  "lby",
        "rtx",  "rty",     "rbx",  "rby",   "author", "width", "height", "sound"};
    static_assert(std::size(kNames) == std::size_t(Known::Count));
    for (const tinyxml2::XMLAttribute* a = element.FirstAttribute(); a; a = a->Next()) {
      const std::string_view name = a->Name();
      for (std::size_t k = 0; k < std::size(kNames); ++k) {
        if (name == kNames[k] && !values_[k]) values_[k] = a->Value();
      }
    }
  }
  const char* operator[](Known which) const { return values_[std::size_t(which)]; }

 private:
  const char* values_[std::size_t(Known::Count)] = {};
};

// "%d" of an attribute; 0 when it is missing or not a number.
std::int32_t intAttribute(const KnownAttributes& element, Known name) {
  const char* text = element[name];
  return text ? scanInt(text).value_or(0) : 0;
}

// The name attribute as UTF-16 (malformed UTF-8 becomes U+FFFD), or the fallback when missing.
// Node construction cuts it to the longest name a node holds.
std::u16string nameAttribute(const KnownAttributes& element, std::u16string_view fallback) {
  const char* text = element[Known::Name];
  return text ? utf8ToUtf16(text) : std::u16string(fallback);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// The visible attribute: text beginning with "true", "yes" or "1" (in this order, ignoring
// case) means visible, "false", "no" or "0" hidden; anything else, empty text included, and a
// missing attribute leave the fallback.
bool visibleAttribute(const KnownAttributes& element, bool fallback) {
  const char* text = element[Known::Visible];
  if (!text) return fallback;
  for (std::string_view yes : {"true", "yes", "1"}) {
    if (startsWithNoCase(text, yes)) return true;
  }
  for (std::string_view no : {"false", "no", "0"}) {
    if (startsWithNoCase(text, no)) return false;
  }
  return fallback;
}

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::uint32_t hexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<std::uint32_t>(c - 'a' + 10);
  return static_cast<std::uint32_t>(c - 'A' + 10);
}

// The layer colour from "color" ("#" and hex digits) and "alpha" (0 ... 1). Only the low 24 bits
// of the hex value are kept, so the alpha byte comes from "alpha" alone; that alpha is clamped to
// 0 ... 1 (NaN gives 0) and alpha × 255 is rounded to the nearest integer, so that every 8-bit
// alpha survives a save and reload. A colour that is missing or lacks the "#" gives 0, whatever
// the alpha says.
std::uint32_t layerColor(const KnownAttributes& element) {
  const char* color = element[Known::Color];
  if (!color || color[0] != '#') return 0;
  std::uint32_t rgb = 0;
  for (const char* p = color + 1; isHexDigit(*p); ++p) rgb = (rgb << 4) | hexValue(*p);
  rgb &= 0xFFFFFFu;

  const char* alphaText = element[Known::Alpha];
  double alpha = alphaText ? scanDouble(alphaText).value_or(0.0) : 0.0;
  if (!(alpha >= 0.0)) alpha = 0.0;  // negative or NaN
  if (alpha > 1.0) alpha = 1.0;
  const auto alphaByte = static_cast<std::uint32_t>(std::lround(alpha * 255.0));
  return rgb | (alphaByte << 24);
}

NodePtr makeLayer(EmblemDocument& document, const tinyxml2::XMLElement& xml) {
  const KnownAttributes element(xml);
  NodePtr node = EmblemDocument::makeNode(&document, NodeKind::Layer,
                                          nameAttribute(element, kDefaultLayerName),
                                          visibleAttribute(element, true));
  LayerRecord record;
  record.partId = intAttribute(element, Known::Type);
  record.color = layerColor(element);
  record.ltx = intAttribute(element, Known::Ltx);
  record.lty = intAttribute(element, Known::Lty);
  record.lbx = intAttribute(element, Known::Lbx);
  record.lby = intAttribute(element, Known::Lby);
  record.rtx = intAttribute(element, Known::Rtx);
  record.rty = intAttribute(element, Known::Rty);
  record.rbx = intAttribute(element, Known::Rbx);
  record.rby = intAttribute(element, Known::Rby);
  EmblemDocument::setLayerRecord(node.get(), record);
  return node;
}

NodePtr makeGroup(EmblemDocument& document, const tinyxml2::XMLElement& xml) {
  const KnownAttributes element(xml);
  NodePtr node = EmblemDocument::makeNode(&document, NodeKind::Group,
                                          nameAttribute(element, kDefaultGroupName),
                                          visibleAttribute(element, false));
  EmblemDocument::setGroupData(node.get());
  return node;
}

// Builds the tree below the root from the children of the <ov> element. The walk keeps its own
// stack, one frame per open <g>, so the depth of the file never reaches the call stack. Each node
// gets its record (LayerChanged or GroupChanged) before it is appended (NodeAdded).
bool readChildren(EmblemDocument& document, const tinyxml2::XMLElement& ovElement, EmblemNode* root,
                  std::string* error) {
  std::size_t nodes = 0;
  struct Frame {
    const tinyxml2::XMLElement* next;  // the next child element still to read
    EmblemNode* parent;
  };
  std::vector<Frame> stack{{ovElement.FirstChildElement(), root}};
  while (!stack.empty()) {
    Frame& frame = stack.back();
    const tinyxml2::XMLElement* element = frame.next;
    if (!element) {
      stack.pop_back();
      continue;
    }
    frame.next = element->NextSiblingElement();
    EmblemNode* parent = frame.parent;  // `frame` may move when the stack grows
    const std::string_view tag = element->Name();
    if ((tag == "layer" || tag == "g") && ++nodes > kMaxEmblemNodes) {
      return fail(error, "more than " + formatInt(kMaxEmblemNodes) + " layers and groups");
    }
    if (tag == "layer") {
      if (!document.appendChild(parent, makeLayer(document, *element))) {
        return fail(error, "cannot build the tree");
      }
    } else if (tag == "g") {
      NodePtr group = makeGroup(document, *element);
      EmblemNode* raw = group.get();
      if (!document.appendChild(parent, std::move(group))) {
        return fail(error, "cannot build the tree");
      }
      stack.push_back({element->FirstChildElement(), raw});
    }
    // Every other element, <image> and <ov> included, is skipped with its content.
  }
  return true;
}

// The first top-level element named exactly "ov"; others before it are passed over.
const tinyxml2::XMLElement* findOvElement(const tinyxml2::XMLDocument& xml) {
  for (const tinyxml2::XMLElement* element = xml.FirstChildElement(); element;
       element = element->NextSiblingElement()) {
    if (std::string_view(element->Name()) == "ov") return element;
  }
  return nullptr;
}

// Parses and builds; the caller has fired UpdateBegins and cleared the document.
bool buildFromBytes(EmblemDocument& document, std::string_view bytes, std::string* error) {
  if (bytes.size() > kMaxXmlEmblemBytes) {
    return fail(error, "file too large");
  }
  std::string blanked;
  if (!screenXmlText(bytes, blanked, error)) return false;
  const std::string_view text = blanked.empty() ? bytes : std::string_view(blanked);
  tinyxml2::XMLDocument xml;
  const tinyxml2::XMLError parsed = xml.Parse(text.data(), text.size());
  if (parsed == tinyxml2::XML_ELEMENT_DEPTH_EXCEEDED) {
    return fail(error, "nested too deeply");
  }
  if (parsed != tinyxml2::XML_SUCCESS) {
    return fail(error, std::string("not well-formed XML: ") +
                           tinyxml2::XMLDocument::ErrorIDToName(parsed) + " at line " +
                           formatInt(xml.ErrorLineNum()));
  }

  const tinyxml2::XMLElement* ov = findOvElement(xml);
  if (!ov) return true;  // a valid file without an emblem: the document stays empty

  // "version" is read by nobody: every version so far has the same elements.
  const KnownAttributes known(*ov);
  NodePtr info =
      EmblemDocument::makeNode(&document, NodeKind::Info, nameAttribute(known, kUntitledName),
                               visibleAttribute(known, true));
  EmblemNode* root = info.get();
  EmblemDocument::setInfo(
      root, EmblemInfo{intAttribute(known, Known::Author), intAttribute(known, Known::Width),
                       intAttribute(known, Known::Height), intAttribute(known, Known::Sound)});
  if (!document.setRoot(std::move(info))) {
    return fail(error, "cannot make the root");
  }
  if (!readChildren(document, *ov, root, error)) return false;
  return true;
}

// Builds the tree and ends the read: UpdateEnds(1), or on failure an empty document and
// UpdateEnds(0).
bool finishRead(EmblemDocument& document, std::string_view bytes, std::string* error) {
  std::string reason;
  try {
    if (buildFromBytes(document, bytes, &reason)) {
      document.fire(DocumentEvent::UpdateEnds, 1);
      return true;
    }
  } catch (const std::bad_alloc&) {
    reason = "out of memory";
  }
  return failRead(document, error, std::move(reason));
}

}  // namespace

bool readXmlEmblem(EmblemDocument& document, const std::filesystem::path& path,
                   std::string* error) {
  document.fire(DocumentEvent::UpdateBegins, 0);
  document.clear();
  if (path.empty()) return failRead(document, error, "no file name");
  std::string bytes;
  std::string reason;
  if (!readWholeFile(path, bytes, kMaxXmlEmblemBytes, &reason)) {
    return failRead(document, error, "cannot open: " + reason);
  }
  return finishRead(document, bytes, error);
}

bool readXmlEmblemFromMemory(EmblemDocument& document, std::string_view bytes, std::string* error) {
  document.fire(DocumentEvent::UpdateBegins, 0);
  document.clear();
  return finishRead(document, bytes, error);
}

}  // namespace orvane
