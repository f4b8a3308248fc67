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

// Escapes byte by byte: the five markup characters become entity references and every other byte
// is copied unchanged (no numeric character references).
void appendEscaped(std::string& out, std::string_view text) {
  for (char c : upToNul(text)) {
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
void appendHead(std::string& out, std::string_view tag, const EmblemNode& node) {
  out += '<';
  out += tag;
  out += " name=\"";
  appendEscaped(out, utf16ToUtf8(node.name()));
  out += '"';
  if (node.visible()) out += " visible=\"true\"";
}

bool isContainer(const EmblemNode& node) {
  return node.kind() == NodeKind::Info || node.kind() == NodeKind::Group;
}

// The line of a node: the whole element for a layer or image, the start tag for a container.
void appendOpening(std::string& out, const EmblemNode& node, int depth) {
  appendIndent(out, depth);
  switch (node.kind()) {
    case NodeKind::Info: {
      const EmblemInfo& info = node.info();
      appendHead(out, "ov", node);
      appendInt(out, "version", 4);
      appendInt(out, "author", info.authorId);
      appendInt(out, "width", info.width);
      appendInt(out, "height", info.height);
      appendInt(out, "sound", info.sound);
      out += '>';
      break;
    }
    case NodeKind::Group:
      appendHead(out, "g", node);
      out += '>';
      break;
    case NodeKind::Layer: {
      // A layer is saved as drawn: its pending transform applied.
      const LayerRecord& record = node.layer();
      const Quad quad = effectiveVertices(record);
      appendHead(out, "layer", node);
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
      appendHead(out, "image", node);
      appendGeneral(out, "alpha", image.alpha);
      out += " src=\"";
      appendEscaped(out, image.source);
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
  std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";
  const EmblemNode* root = document.root();
  if (!root || root->kind() != NodeKind::Info) {
    out += "<ov>\r\n</ov>\r\n";
    return out;
  }
  // Pre-order walk without recursion, so that no tree is too deep to save; a container's end
  // tag is written when the walk climbs back out of it. Children of layers and images (which
  // the document never gives them) are not written.
  const EmblemNode* node = root;
  int depth = 0;
  while (true) {
    appendOpening(out, *node, depth);
    if (isContainer(*node)) {
      if (node->firstChild()) {
        node = node->firstChild();
        ++depth;
        continue;
      }
      appendClosing(out, *node, depth);
    }
    while (node != root && !node->next()) {
      node = node->parent();
      --depth;
      appendClosing(out, *node, depth);
    }
    if (node == root) break;
    node = node->next();
  }
  return out;
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
