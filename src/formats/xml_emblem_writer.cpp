#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/atomic_file.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "base/utf.h"
#include "editing/layer_transforms.h"
#include "formats/xml_emblem_file.h"

namespace orvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kIndent = "  ";

// A name or path ends at its first NUL, as in a zero-terminated buffer; a NUL byte in the file
// would make it unreadable.
std::string_view upToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// A character reference "&#N;".
void appendReference(std::string& out, unsigned code) {
  out += "&#";
  out += formatInt(code);
  out += ';';
}

// Escapes the UTF-8 text of an attribute value: the five markup characters become entity
// references, and control characters character references, since no XML file may hold them as
// they are; tab, line feed and carriage return too, so that a reader neither turns them into
// spaces nor a CR into LF. Every other byte is copied unchanged. `restricted` is set when a
// control character other than those three was written, which only XML 1.1 allows (and then
// only as a reference).
void appendEscaped(std::string& out, std::string_view text, bool& restricted) {
  text = upToNul(text);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      restricted = restricted || (byte < 0x20 && c != '\t' && c != '\n' && c != '\r');
      appendReference(out, byte);
      continue;
    }
    // U+0080 ... U+009F, which XML 1.1 also wants as references.
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
    if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
      appendReference(out, next);
      ++i;
      continue;
    }
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
        break;
    }
  }
}

void appendInt(std::string& out, std::string_view attribute, std::int64_t value) {
  out += ' ';
  out += attribute;
  out += "=\"";
  out += formatInt(value);
  out += '"';
}

void appendGeneral(std::string& out, std::string_view attribute, double value) {
  out += ' ';
  out += attribute;
  out += "=\"";
  out += formatGeneral(value);
  out += '"';
}

// "#" and six lower-case hex digits of the colour without its alpha byte.
void appendColor(std::string& out, std::uint32_t color) {
  char digits[8];
  const auto end = std::to_chars(digits, digits + sizeof digits, color & 0xFFFFFFu, 16).ptr;
  const std::size_t count = static_cast<std::size_t>(end - digits);
  out += " color=\"#";
  out.append(6 - count, '0');
  out.append(digits, count);
  out += '"';
}

void appendIndent(std::string& out, int depth) {
  for (int i = 0; i < depth; ++i) out += kIndent;
}

// The start of an element up to and including its attributes name and visible.
void appendHead(std::string& out, std::string_view tag, const EmblemNode& node, bool& restricted) {
  out += '<';
  out += tag;
  out += " name=\"";
  appendEscaped(out, utf16ToUtf8(node.name()), restricted);
  out += '"';
  if (node.visible()) out += " visible=\"true\"";
}

bool isContainer(const EmblemNode& node) {
  return node.kind() == NodeKind::Info || node.kind() == NodeKind::Group;
}

// The line of a node: the whole element for a layer or image, the start tag for a container.
void appendOpening(std::string& out, const EmblemNode& node, int depth, bool& restricted) {
  appendIndent(out, depth);
  switch (node.kind()) {
    case NodeKind::Info: {
      const EmblemInfo& info = node.info();
      appendHead(out, "ov", node, restricted);
      appendInt(out, "version", 4);
      appendInt(out, "author", info.authorId);
      appendInt(out, "width", info.width);
      appendInt(out, "height", info.height);
      appendInt(out, "sound", info.sound);
      out += '>';
      break;
    }
    case NodeKind::Group:
      appendHead(out, "g", node, restricted);
      out += '>';
      break;
    case NodeKind::Layer: {
      // A layer is saved as drawn: its pending transform applied.
      const LayerRecord& record = node.layer();
      const Quad quad = effectiveVertices(record);
      appendHead(out, "layer", node, restricted);
      appendInt(out, "type", record.partId);
      appendColor(out, record.color);
      appendGeneral(out, "alpha", static_cast<double>(record.color >> 24) / 255);
      appendInt(out, "ltx", quad.lt.x);
      appendInt(out, "lty", quad.lt.y);
      appendInt(out, "lbx", quad.lb.x);
      appendInt(out, "lby", quad.lb.y);
      appendInt(out, "rtx", quad.rt.x);
      appendInt(out, "rty", quad.rt.y);
      appendInt(out, "rbx", quad.rb.x);
      appendInt(out, "rby", quad.rb.y);
      out += "/>";
      break;
    }
    case NodeKind::Image: {
      const ImageRecord& image = node.image();
      appendHead(out, "image", node, restricted);
      appendGeneral(out, "alpha", image.alpha);
      out += " src=\"";
      appendEscaped(out, image.source, restricted);
      out += "\"/>";
      break;
    }
  }
  out += kLineEnd;
}

void appendClosing(std::string& out, const EmblemNode& node, int depth) {
  appendIndent(out, depth);
  out += node.kind() == NodeKind::Info ? "</ov>" : "</g>";
  out += kLineEnd;
}

}  // namespace

std::string xmlEmblemText(const EmblemDocument& document) {
  const EmblemNode* root = document.root();
  if (!root || root->kind() != NodeKind::Info) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<ov>\r\n</ov>\r\n";
  }
  // Pre-order walk without recursion, so that no tree is too deep to save; a container's end
  // tag is written when the walk climbs back out of it. Children of layers and images (which
  // the document never gives them) are not written.
  std::string body;
  bool restricted = false;
  const EmblemNode* node = root;
  int depth = 0;
  while (true) {
    appendOpening(body, *node, depth, restricted);
    if (isContainer(*node)) {
      if (node->firstChild()) {
        node = node->firstChild();
        ++depth;
        continue;
      }
      appendClosing(body, *node, depth);
    }
    while (node != root && !node->next()) {
      node = node->parent();
      --depth;
      appendClosing(body, *node, depth);
    }
    if (node == root) break;
    node = node->next();
  }
  // Names with control characters make an XML 1.1 file: 1.0 does not allow them at all.
  std::string out = restricted ? "<?xml version=\"1.1\" encoding=\"utf-8\"?>\r\n"
                               : "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
  return out += body;
}

bool writeXmlEmblem(const EmblemDocument& document, const std::filesystem::path& path,
                    std::string* error) {
  const std::string text = xmlEmblemText(document);
  // Never write a file that cannot be opened again: the reader is stricter than the writer
  // (the XML parser refuses elements nested a hundred deep, for one), so read the text back first.
  EmblemDocument check;
  std::string reason;
  if (!readXmlEmblemFromMemory(check, text, &reason)) {
    return fail(error, "the emblem cannot be saved as a file that reads back (" + reason + ")");
  }
  if (!saveFileAtomically(path, text, &reason)) {
    return fail(error, "cannot write: " + reason);
  }
  return true;
}

}  // namespace orvane
