#include <algorithm>

#include "base/atomic_file.h"
#include "base/utf.h"
#include "formats/binary_emblem_file.h"
#include "formats/blowfish.h"
#include "formats/emblem_packer.h"
#include "formats/little_endian.h"
#include "formats/read_failure.h"

namespace orvane {
namespace {

// An 8-bit channel from its 6-bit value: the low two bits repeat the top two (63 gives 255).
std::uint32_t widenChannel(std::uint32_t six) { return six * 4 + (six >> 4); }

LayerRecord readRecord(const std::uint8_t* in) {
  LayerRecord record;
  std::int32_t* const coordinates[8] = {&record.ltx, &record.lty, &record.lbx, &record.lby,
                                        &record.rtx, &record.rty, &record.rbx, &record.rby};
  for (int i = 0; i < 8; ++i) *coordinates[i] = static_cast<std::int32_t>(in[i]) - 128;
  const std::uint32_t word = loadLe32(in + 8);
  const std::uint32_t alphaCode = (word >> 18) & 7;
  // The level's alpha, 32 * code + 31, computed as the format's writers expect it.
  const auto alpha = static_cast<std::uint32_t>(static_cast<float>(alphaCode + 1) * 0.125f * 255);
  record.color = alpha << 24 | widenChannel(word & 0x3F) << 16 |
                 widenChannel((word >> 6) & 0x3F) << 8 | widenChannel((word >> 12) & 0x3F);
  record.partId = static_cast<std::int32_t>((word >> 21) & 0x3FF);
  return record;
}

// The name after the records: at most 510 bytes copied into 256 zeroed UTF-16 units and read up
// to the first zero unit, as the format's other readers do.
std::u16string readName(const std::uint8_t* bytes, std::size_t size) {
  size = std::min<std::size_t>(size, 510);
  char16_t units[256] = {};
  for (std::size_t i = 0; i < size; ++i) {
    units[i / 2] = static_cast<char16_t>(units[i / 2] | bytes[i] << (8 * (i % 2)));
  }
  return std::u16string(units);
}

// The name the format's layers get, numbered from 1 in file order: "レイヤー1", "レイヤー2", …
std::u16string layerName(std::size_t number) {
  std::u16string name = u"レイヤー";
  for (char digit : std::to_string(number)) name += static_cast<char16_t>(digit);
  return name;
}

}  // namespace

bool readBinaryEmblemFromMemory(EmblemDocument& document, std::span<const std::uint8_t> file,
                                std::string* error) {
  document.fire(DocumentEvent::UpdateBegins, 0);
  document.clear();
  if (file.empty()) return failRead(document, error, "empty file");
  if (file.size() > kMaxBinaryEmblemBytes) return failRead(document, error, "file too large");

  std::vector<std::uint8_t> image(file.begin(), file.end());
  const BlowfishContext context = keySchedule(kEmblemFileKey);
  if (image.size() >= 4) {
    decryptBlocks(context, image.data() + 4, static_cast<std::ptrdiff_t>(image.size() - 4));
  }
  if (image.size() >= 4 && (image[3] & 0x80)) {
    const UnpackResult sized =
        unpackEmblem(image.data() + 4, image.size() - 4, nullptr, 0, kMaxBinaryEmblemBytes - 4);
    if (sized.status == UnpackStatus::TooLarge) {
      return failRead(document, error, "packed body unpacks to more than any emblem holds");
    }
    if (!sized.complete()) return failRead(document, error, "packed body is cut short");
    std::vector<std::uint8_t> unpacked(sized.size + 4);
    std::copy_n(image.begin(), 4, unpacked.begin());
    unpacked[3] &= 0x7F;
    unpackEmblem(image.data() + 4, image.size() - 4, unpacked.data() + 4, sized.size);
    image = std::move(unpacked);
  }
  if (image.size() < 12) return failRead(document, error, "file too short for its header");
  const std::uint32_t header = loadLe32(&image[8]);
  const std::size_t count = header & 0x1FF;
  if (image.size() < 12 + 16 * count) {
    return failRead(document, error, "file too short for its layer records");
  }

  const std::size_t nameOffset = 12 + 16 * count;
  NodePtr info = EmblemDocument::makeNode(&document, NodeKind::Info,
                                          readName(&image[nameOffset], image.size() - nameOffset));
  EmblemNode* root = info.get();
  EmblemDocument::setInfo(root, EmblemInfo{static_cast<std::int32_t>(loadLe32(&image[4])),
                                           static_cast<std::int32_t>((header >> 9) & 0xFF),
                                           static_cast<std::int32_t>((header >> 17) & 0x7F),
                                           static_cast<std::int32_t>((header >> 24) & 0x1F)});
  document.setRoot(std::move(info));

  for (std::size_t i = 0; i < count; ++i) {
    NodePtr layer = EmblemDocument::makeNode(&document, NodeKind::Layer, layerName(i + 1));
    EmblemDocument::setLayerRecord(layer.get(), readRecord(&image[12 + 16 * i]));
    document.appendChild(root, std::move(layer));
  }
  document.fire(DocumentEvent::UpdateEnds, 1);
  return true;
}

bool readBinaryEmblem(EmblemDocument& document, const std::filesystem::path& path,
                      std::string* error) {
  std::string bytes;
  std::string reason;
  if (!readWholeFile(path, bytes, kMaxBinaryEmblemBytes, &reason)) {
    document.fire(DocumentEvent::UpdateBegins, 0);
    return failRead(document, error, "cannot open: " + reason);
  }
  return readBinaryEmblemFromMemory(
      document,
      std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                    bytes.size()),
      error);
}

}  // namespace orvane
