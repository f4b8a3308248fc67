#include <algorithm>

#include "base/atomic_file.h"
#include "editing/layer_transforms.h"
#include "formats/binary_emblem_file.h"
#include "formats/blowfish.h"
#include "formats/emblem_packer.h"
#include "formats/little_endian.h"

namespace orvane {
namespace {

std::uint8_t vertexByte(std::int32_t coordinate) {
  return static_cast<std::uint8_t>(std::clamp(coordinate, -128, 127) + 128);
}

std::uint32_t colourWord(const LayerRecord& record) {
  const std::uint32_t color = record.color;
  const std::uint32_t red = ((color >> 16) & 0xFF) >> 2;
  const std::uint32_t green = ((color >> 8) & 0xFF) >> 2;
  const std::uint32_t blue = (color & 0xFF) >> 2;
  const std::uint32_t alphaCode = color >> 29;  // the top three bits of the alpha byte
  const std::uint32_t part = static_cast<std::uint32_t>(record.partId) & 0x3FF;
  return red | green << 6 | blue << 12 | alphaCode << 18 | part << 21;
}

void writeRecord(std::uint8_t* out, const LayerRecord& record) {
  const Quad q = effectiveVertices(record);
  const std::int32_t coordinates[8] = {q.lt.x, q.lt.y, q.lb.x, q.lb.y,
                                       q.rt.x, q.rt.y, q.rb.x, q.rb.y};
  for (int i = 0; i < 8; ++i) out[i] = vertexByte(coordinates[i]);
  storeLe32(out + 8, colourWord(record));
  storeLe32(out + 12, binaryToneWord(record.color));
}

}  // namespace

// Every quantity is a single-precision float and every code is truncated toward zero, in the
// order written; other readers of the format compare these bits.
std::uint32_t binaryToneWord(std::uint32_t color) {
  const float r = static_cast<float>(((color >> 16) & 0xFF) >> 2) / 63.0f;
  const float g = static_cast<float>(((color >> 8) & 0xFF) >> 2) / 63.0f;
  const float b = static_cast<float>((color & 0xFF) >> 2) / 63.0f;
  const float max = std::max({r, g, b});
  const float min = std::min({r, g, b});
  const float delta = max - min;
  const float lightness = (max + min) / 2.0f;

  float hue = 0.0f;
  float saturation = 1.0f;
  std::uint32_t lightnessCode = 0;
  if (delta == 0.0f) {
    lightnessCode = static_cast<std::uint32_t>(6.0f * max);
  } else {
    if (r == max) {
      hue = 60.0f * (g - b) / delta;
    } else if (g == max) {
      hue = 60.0f * ((b - r) / delta + 2.0f);
    } else {
      hue = 60.0f * ((r - g) / delta + 4.0f);
    }
    if (hue < 0.0f) hue += 360.0f;
    saturation = lightness <= 0.5f ? delta / (max + min) : delta / (2.0f - max - min);
    lightnessCode = static_cast<std::uint32_t>(24.0f * (1.0f - lightness) + 7.0f);
  }
  const auto hueCode = static_cast<std::uint32_t>(hue / 360.0f * 53.0f);
  const auto saturationCode = static_cast<std::uint32_t>(saturation * 15.9f);
  return (hueCode & 0x3F) | (lightnessCode & 0x1F) << 6 | (saturationCode & 0xF) << 11;
}

std::vector<std::uint8_t> binaryEmblemBytes(const EmblemDocument& document, bool packed) {
  const EmblemNode* root = document.root();
  const bool hasInfo = root && root->kind() == NodeKind::Info;
  const std::size_t count =
      root ? std::min(EmblemDocument::countKind(root, NodeKind::Layer), kMaxBinaryLayers) : 0;
  const std::u16string name = hasInfo ? root->name() : std::u16string();

  std::vector<std::uint8_t> bytes(12 + 16 * count + 2 * name.size(), 0);
  bytes[0] = 'o', bytes[1] = 'v', bytes[2] = 'r', bytes[3] = 0x04;
  if (hasInfo) {
    const EmblemInfo& info = root->info();
    storeLe32(&bytes[4], static_cast<std::uint32_t>(info.authorId));
    const std::uint32_t header = static_cast<std::uint32_t>(count) |
                                 (static_cast<std::uint32_t>(info.width) & 0xFF) << 9 |
                                 (static_cast<std::uint32_t>(info.height) & 0x7F) << 17 |
                                 (static_cast<std::uint32_t>(info.sound) & 0x1F) << 24;
    storeLe32(&bytes[8], header);
  } else {
    storeLe32(&bytes[8], 32u << 9 | 32u << 17);
  }

  // Layers in depth-first order, a node before its children, children first to last.
  std::size_t written = 0;
  for (const EmblemNode* n = root; n && written < count;) {
    if (n->kind() == NodeKind::Layer) writeRecord(&bytes[12 + 16 * written++], n->layer());
    if (n->firstChild()) {
      n = n->firstChild();
      continue;
    }
    while (n != root && !n->next()) n = n->parent();
    n = n == root ? nullptr : n->next();
  }
  for (std::size_t i = 0; i < name.size(); ++i) {
    bytes[12 + 16 * count + 2 * i] = static_cast<std::uint8_t>(name[i] & 0xFF);
    bytes[12 + 16 * count + 2 * i + 1] = static_cast<std::uint8_t>(name[i] >> 8);
  }

  if (packed) {
    std::vector<std::uint8_t> body = packEmblem(std::span<const std::uint8_t>(bytes).subspan(4));
    bytes.resize(4);
    bytes[3] = 0x84;
    bytes.insert(bytes.end(), body.begin(), body.end());
  }
  const BlowfishContext context = keySchedule(kEmblemFileKey);
  encryptBlocks(context, bytes.data() + 4, static_cast<std::ptrdiff_t>(bytes.size() - 4));
  return bytes;
}

bool writeBinaryEmblem(const EmblemDocument& document, const std::filesystem::path& path,
                       bool packed, std::string* error) {
  const std::vector<std::uint8_t> bytes = binaryEmblemBytes(document, packed);
  return saveFileAtomically(path, std::as_bytes(std::span<const std::uint8_t>(bytes)), error);
}

}  // namespace orvane
