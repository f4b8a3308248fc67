#include "cli/emblem_json.h"

#include <cmath>
#include <cstdio>
#include <type_traits>
#include <vector>

#include "base/numbers.h"
#include "base/utf.h"

namespace orvane::cli {
namespace {

// A small pretty-printing JSON writer: two-space indent, one value per line.
class JsonWriter {
 public:
  std::string text;

  void str(std::string_view value) {
    beforeValue();
    quoted(value);
  }
  void key(std::string_view name) {
    beforeValue();
    quoted(name);
    text += ": ";
    afterKey_ = true;
  }
  void number(std::int64_t value) {
    beforeValue();
    text += formatInt(value);
  }
  void number(float value) {
    beforeValue();
    text += std::isfinite(value) ? formatGeneral(value) : "null";
  }
  void boolean(bool value) {
    beforeValue();
    text += value ? "true" : "false";
  }
  void text16(std::u16string_view value) { str(utf16ToUtf8(value)); }
  void open(char bracket) {
    beforeValue();
    text += bracket;
    firstInContainer_.push_back(true);
  }
  void close(char bracket) {
    const bool empty = firstInContainer_.back();
    firstInContainer_.pop_back();
    if (!empty) newline();
    text += bracket;
  }

 private:
  // JSON's escapes for the characters it requires, and also for DEL and the C1 controls
  // (U+0080 ... U+009F), so that no control character reaches a terminal showing the output.
  void quoted(std::string_view value) {
    text += '"';
    for (std::size_t i = 0; i < value.size(); ++i) {
      const char c = value[i];
      const auto byte = static_cast<unsigned char>(c);
      const auto following = i + 1 < value.size() ? static_cast<unsigned char>(value[i + 1]) : 0;
      if (c == '"' || c == '\\') {
        text += '\\';
        text += c;
      } else if (byte < 0x20 || byte == 0x7F) {
        escapeUnit(byte);
      } else if (byte == 0xC2 && following >= 0x80 && following <= 0x9F) {
        escapeUnit(following);
        ++i;
      } else {
        text += c;
      }
    }
    text += '"';
  }
  void escapeUnit(unsigned unit) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", unit);
    text += escaped;
  }
  // The comma and line break before a value, unless the value follows its key.
  void beforeValue() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    if (firstInContainer_.empty()) return;
    if (!firstInContainer_.back()) text += ',';
    firstInContainer_.back() = false;
    newline();
  }
  void newline() {
    text += '\n';
    text.append(2 * firstInContainer_.size(), ' ');
  }
  std::vector<bool> firstInContainer_;
  bool afterKey_ = false;
};

const char* kindName(NodeKind kind) {
  switch (kind) {
    case NodeKind::Info:
      return "info";
    case NodeKind::Group:
      return "group";
    case NodeKind::Layer:
      return "layer";
    case NodeKind::Image:
      return "image";
  }
  return "unknown";
}

// Every field of the record, in record order.
void writeLayer(JsonWriter& json, const LayerRecord& r) {
  auto field = [&json](const char* name, auto value) {
    json.key(name);
    if constexpr (std::is_floating_point_v<decltype(value)>) {
      json.number(value);
    } else {
      json.number(static_cast<std::int64_t>(value));
    }
  };
  field("ltx", r.ltx), field("lty", r.lty), field("lbx", r.lbx), field("lby", r.lby);
  field("rtx", r.rtx), field("rty", r.rty), field("rbx", r.rbx), field("rby", r.rby);
  field("color", r.color), field("partId", r.partId);
  field("moveX", r.moveX), field("moveY", r.moveY);
  field("moveOriginX", r.moveOriginX), field("moveOriginY", r.moveOriginY);
  field("scaleX", r.scaleX), field("scaleY", r.scaleY);
  field("scaleCentreX", r.scaleCentreX), field("scaleCentreY", r.scaleCentreY);
  field("rotation", r.rotation);
  field("rotationCentreX", r.rotationCentreX), field("rotationCentreY", r.rotationCentreY);
}

// Nesting is bounded by what the readers accept, so plain recursion is enough here.
void writeNode(JsonWriter& json, const EmblemNode& node) {
  json.open('{');
  json.key("kind");
  json.str(kindName(node.kind()));
  json.key("name");
  json.text16(node.name());
  json.key("visible");
  json.boolean(node.visible());
  switch (node.kind()) {
    case NodeKind::Info: {
      const EmblemInfo& info = node.info();
      json.key("author");
      json.number(std::int64_t{info.authorId});
      json.key("width");
      json.number(std::int64_t{info.width});
      json.key("height");
      json.number(std::int64_t{info.height});
      json.key("sound");
      json.number(std::int64_t{info.sound});
      json.key("layerCount");
      json.number(static_cast<std::int64_t>(EmblemDocument::countKind(&node, NodeKind::Layer)));
      break;
    }
    case NodeKind::Layer:
      writeLayer(json, node.layer());
      break;
    case NodeKind::Image:
      json.key("source");
      json.str(node.image().source);
      json.key("alpha");
      json.number(node.image().alpha);
      break;
    case NodeKind::Group:
      break;
  }
  if (node.kind() != NodeKind::Layer || node.firstChild()) {
    json.key("children");
    json.open('[');
    for (const EmblemNode* child = node.firstChild(); child; child = child->next()) {
      writeNode(json, *child);
    }
    json.close(']');
  }
  json.close('}');
}

}  // namespace

std::string emblemJson(const EmblemDocument& document) {
  JsonWriter json;
  if (document.root()) {
    writeNode(json, *document.root());
  } else {
    json.text += "null";
  }
  json.text += '\n';
  return json.text;
}

}  // namespace orvane::cli
