#include "formats/binary_emblem_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "formats/blowfish.h"
#include "formats/emblem_packer.h"
#include "formats/little_endian.h"

namespace orvane {
namespace {

EmblemNode* addLayer(EmblemDocument& doc, EmblemNode* parent, const LayerRecord& record) {
  NodePtr layer = EmblemDocument::makeNode(&doc, NodeKind::Layer, u"l");
  EmblemDocument::setLayerRecord(layer.get(), record);
  EmblemNode* raw = layer.get();
  doc.appendChild(parent, std::move(layer));
  return raw;
}

// The file bytes with the body deciphered again (and unpacked when packed).
std::vector<std::uint8_t> plainImage(std::vector<std::uint8_t> file) {
  decryptBlocks(keySchedule(kEmblemFileKey), file.data() + 4,
                static_cast<std::ptrdiff_t>(file.size() - 4));
  return file;
}

std::vector<std::uint8_t> encipher(std::vector<std::uint8_t> image) {
  encryptBlocks(keySchedule(kEmblemFileKey), image.data() + 4,
                static_cast<std::ptrdiff_t>(image.size() - 4));
  return image;
}

struct ReadOutcome {
  bool ok;
  std::vector<std::int32_t> updateEnds;
};

ReadOutcome read(EmblemDocument& doc, const std::vector<std::uint8_t>& bytes) {
  ReadOutcome outcome{};
  const RegistrationId id = doc.registerCallback(DocumentEvent::UpdateEnds,
                                                 [&](const DocumentEventArgs& args, std::uint32_t) {
                                                   outcome.updateEnds.push_back(args.value);
                                                 });
  outcome.ok = readBinaryEmblemFromMemory(doc, bytes);
  doc.unregisterCallback(id);
  return outcome;
}

TEST(BinaryEmblemWriter, WritesTheDefaultLayerAsDocumented) {
  EmblemDocument doc;
  doc.newDocument(u"", 192, 96);
  addLayer(doc, doc.root(), EmblemDocument::defaultLayerRecord());
  const std::vector<std::uint8_t> file = binaryEmblemBytes(doc);
  ASSERT_EQ(file.size(), 38u);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 4), std::string("ovr\x04", 4));

  const std::vector<std::uint8_t> image = plainImage(file);
  EXPECT_EQ(loadLe32(&image[4]), 0u);
  EXPECT_EQ(loadLe32(&image[8]), 0x00C18001u);
  EXPECT_EQ(std::vector<std::uint8_t>(image.begin() + 12, image.begin() + 20),
            (std::vector<std::uint8_t>{112, 112, 112, 144, 144, 112, 144, 144}));
  const std::uint32_t colour = loadLe32(&image[20]);
  EXPECT_EQ(colour & 0x3F, 63u);
  EXPECT_EQ((colour >> 6) & 0x3F, 63u);
  EXPECT_EQ((colour >> 12) & 0x3F, 63u);
  EXPECT_EQ((colour >> 18) & 7, 7u);
  EXPECT_EQ((colour >> 21) & 0x3FF, 240u);
  EXPECT_EQ(colour >> 31, 0u);
  const std::uint32_t tone = loadLe32(&image[24]);
  EXPECT_EQ(tone, 0u | 6u << 6 | 15u << 11);  // grey: hue 0, lightness 6, saturation 15
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(&image[28]), 5), u"名称未設定");
  // The last (38 - 4) mod 8 = 2 bytes are never enciphered.
  EXPECT_EQ(file[36], image[36]);
  EXPECT_EQ(file[37], image[37]);
  EXPECT_NE(std::vector<std::uint8_t>(file.begin() + 4, file.begin() + 36),
            std::vector<std::uint8_t>(image.begin() + 4, image.begin() + 36));
}

TEST(BinaryEmblemWriter, ToneWordsFollowHueLightnessAndSaturation) {
  EXPECT_EQ(binaryToneWord(0xFFFF0000), 0u | 19u << 6 | 15u << 11);   // red
  EXPECT_EQ(binaryToneWord(0xFF00FF00), 17u | 19u << 6 | 15u << 11);  // green: 120 degrees
  EXPECT_EQ(binaryToneWord(0xFF0000FF), 35u | 19u << 6 | 15u << 11);  // blue: 240 degrees
  EXPECT_EQ(binaryToneWord(0xFF000000), 0u | 0u << 6 | 15u << 11);    // black
  EXPECT_EQ(binaryToneWord(0xFF808080) & 0x7C0, 3u << 6);             // mid grey
}

TEST(BinaryEmblemWriter, WithoutRootWritesAnEmptySmallEmblem) {
  EmblemDocument doc;
  const std::vector<std::uint8_t> image = plainImage(binaryEmblemBytes(doc));
  ASSERT_EQ(image.size(), 12u);
  EXPECT_EQ(loadLe32(&image[4]), 0u);
  EXPECT_EQ(loadLe32(&image[8]), 32u << 9 | 32u << 17);
}

TEST(BinaryEmblemWriter, KeepsTheFirst511LayersInDepthFirstOrder) {
  EmblemDocument doc;
  doc.newDocument(u"many", 192, 96);
  LayerRecord record;
  record.partId = 1;
  addLayer(doc, doc.root(), record);
  NodePtr group = EmblemDocument::makeNode(&doc, NodeKind::Group, u"g");
  EmblemNode* g = group.get();
  doc.appendChild(doc.root(), std::move(group));
  record.partId = 2;
  addLayer(doc, g, record);  // inside the group: written before the root's next child
  for (int i = 0; i < 598; ++i) {
    record.partId = 3 + i % 1000;
    addLayer(doc, doc.root(), record);
  }
  EmblemDocument back;
  ASSERT_TRUE(readBinaryEmblemFromMemory(back, binaryEmblemBytes(doc)));
  ASSERT_EQ(EmblemDocument::countKind(back.root(), NodeKind::Layer), 511u);
  std::vector<std::int32_t> parts;
  for (const EmblemNode* n = back.root()->firstChild(); n; n = n->next()) {
    parts.push_back(n->layer().partId);
  }
  EXPECT_EQ(parts[0], 1);
  EXPECT_EQ(parts[1], 2);
  EXPECT_EQ(parts[2], 3);
  EXPECT_EQ(parts[510], 511);
  EXPECT_EQ(back.root()->lastChild()->name(), u"レイヤー511");
}

TEST(BinaryEmblemRoundTrip, KeepsWhatTheFormatCanHold) {
  EmblemDocument doc;
  doc.newDocument(u"紋章 <&>", 255, 127);
  EmblemDocument::setInfo(doc.root(), {-5, 300, 200, 33});  // wider than the fields hold
  const std::uint32_t alphas[] = {0, 31, 32, 63, 95, 127, 159, 191, 200, 223, 255};
  for (std::uint32_t alpha : alphas) {
    LayerRecord record = EmblemDocument::defaultLayerRecord();
    record.color = alpha << 24 | 0x123456;
    record.ltx = 300;
    record.lty = -129;
    record.partId = 1023 + 1024;  // only 10 bits survive
    addLayer(doc, doc.root(), record);
  }
  EmblemDocument back;
  ASSERT_TRUE(readBinaryEmblemFromMemory(back, binaryEmblemBytes(doc)));
  EXPECT_EQ(back.root()->name(), u"紋章 <&>");
  EXPECT_EQ(back.root()->info(), (EmblemInfo{-5, 300 & 0xFF, 200 & 0x7F, 33 & 0x1F}));
  const std::uint32_t expectedAlphas[] = {31, 31, 63, 63, 95, 127, 159, 191, 223, 223, 255};
  int i = 0;
  for (const EmblemNode* n = back.root()->firstChild(); n; n = n->next(), ++i) {
    const LayerRecord& r = n->layer();
    EXPECT_EQ(r.color >> 24, expectedAlphas[i]) << "alpha " << alphas[i];
    // 0x12, 0x34, 0x56 keep their top six bits; the low two repeat the top two.
    EXPECT_EQ(r.color & 0xFFFFFF, 0x103455u);
    EXPECT_EQ(r.ltx, 127);
    EXPECT_EQ(r.lty, -128);
    EXPECT_EQ(r.rbx, 16);
    EXPECT_EQ(r.partId, 1023);
    EXPECT_TRUE(n->visible());
  }
  EXPECT_EQ(i, 11);
}

TEST(BinaryEmblemRoundTrip, PackedAndPlainFilesReadTheSame) {
  EmblemDocument doc;
  doc.newDocument(u"packed", 192, 96);
  std::mt19937 random(7);
  for (int i = 0; i < 200; ++i) {
    LayerRecord record = EmblemDocument::defaultLayerRecord();
    record.partId = static_cast<std::int32_t>(random() % 4);  // repetitive: packs well
    record.ltx = static_cast<std::int32_t>(random() % 3);
    addLayer(doc, doc.root(), record);
  }
  const std::vector<std::uint8_t> plain = binaryEmblemBytes(doc, false);
  const std::vector<std::uint8_t> packed = binaryEmblemBytes(doc, true);
  EXPECT_EQ(packed[3], 0x84);
  EXPECT_LT(packed.size(), plain.size());
  EmblemDocument fromPlain, fromPacked;
  ASSERT_TRUE(readBinaryEmblemFromMemory(fromPlain, plain));
  ASSERT_TRUE(readBinaryEmblemFromMemory(fromPacked, packed));
  EXPECT_EQ(fromPacked.root()->name(), u"packed");
  const EmblemNode* a = fromPlain.root()->firstChild();
  const EmblemNode* b = fromPacked.root()->firstChild();
  for (; a && b; a = a->next(), b = b->next()) {
    EXPECT_EQ(a->layer(), b->layer());
    EXPECT_EQ(a->name(), b->name());
  }
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(b, nullptr);
}

TEST(BinaryEmblemReader, ReadsTheDocumentedDefaultsAndEventOrder) {
  EmblemDocument doc;
  doc.newDocument(u"", 192, 96);
  addLayer(doc, doc.root(), EmblemDocument::defaultLayerRecord());
  const std::vector<std::uint8_t> file = binaryEmblemBytes(doc);

  std::vector<DocumentEvent> events;  // outlives `back`, which fires Cleared as it goes
  EmblemDocument back;
  for (int e = 0; e < kDocumentEventCount; ++e) {
    back.registerCallback(
        static_cast<DocumentEvent>(e),
        [&events](const DocumentEventArgs& args, std::uint32_t) { events.push_back(args.event); });
  }
  ASSERT_TRUE(readBinaryEmblemFromMemory(back, file));
  using E = DocumentEvent;
  EXPECT_EQ(events, (std::vector<E>{E::UpdateBegins, E::Cleared, E::InfoChanged, E::NodeAdded,
                                    E::LayerChanged, E::NodeAdded, E::UpdateEnds}));
  EXPECT_EQ(back.root()->name(), u"名称未設定");
  const EmblemNode* layer = back.root()->firstChild();
  ASSERT_NE(layer, nullptr);
  EXPECT_EQ(layer->name(), u"レイヤー1");
  EXPECT_EQ(layer->layer().color, 0xFFFFFFFFu);
  EXPECT_EQ(layer->layer().partId, 240);
  EXPECT_EQ(layer->layer().lbx, -16);
  EXPECT_EQ(layer->layer().lby, 16);
}

TEST(BinaryEmblemReader, TwelveByteFileHasNoLayersAndNoName) {
  std::vector<std::uint8_t> image = {'o', 'v', 'r', 4, 9, 0, 0, 0, 0, 0, 0, 0};
  storeLe32(&image[8], 192u << 9 | 96u << 17);
  EmblemDocument doc;
  const ReadOutcome outcome = read(doc, encipher(image));
  ASSERT_TRUE(outcome.ok);
  EXPECT_EQ(outcome.updateEnds, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(doc.root()->name(), u"");
  EXPECT_EQ(doc.root()->info(), (EmblemInfo{9, 192, 96, 0}));
  EXPECT_EQ(doc.root()->firstChild(), nullptr);
}

TEST(BinaryEmblemReader, OddNameBytesAndEmbeddedZerosEndTheName) {
  std::vector<std::uint8_t> image = {'o', 'v', 'r', 4, 0, 0, 0, 0, 0, 0, 0, 0, 'A', 0, 'B'};
  EmblemDocument doc;
  ASSERT_TRUE(read(doc, encipher(image)).ok);
  EXPECT_EQ(doc.root()->name(), u"AB");  // the odd last byte is the low byte of a unit
  image = {'o', 'v', 'r', 4, 0, 0, 0, 0, 0, 0, 0, 0, 'A', 0, 0, 0, 'B', 0};
  ASSERT_TRUE(read(doc, encipher(image)).ok);
  EXPECT_EQ(doc.root()->name(), u"A");
}

TEST(BinaryEmblemReader, RefusesDamagedFilesLeavingTheDocumentEmpty) {
  EmblemDocument good;
  good.newDocument(u"good", 192, 96);
  for (int i = 0; i < 3; ++i) addLayer(good, good.root(), EmblemDocument::defaultLayerRecord());
  const std::vector<std::uint8_t> file = binaryEmblemBytes(good);

  std::vector<std::vector<std::uint8_t>> bad;
  bad.push_back({});               // empty
  bad.push_back({'o', 'v', 'r'});  // shorter than the header
  bad.push_back(std::vector<std::uint8_t>(file.begin(), file.begin() + 11));
  bad.push_back(std::vector<std::uint8_t>(file.begin(), file.begin() + 12 + 16 * 3 - 1));
  {
    std::vector<std::uint8_t> packed = plainImage(binaryEmblemBytes(good, true));
    packed.resize(packed.size() - 3);  // loses the end token
    bad.push_back(encipher(packed));
  }
  {
    // A packed body that repeats one byte far beyond any real emblem.
    std::vector<std::uint8_t> huge(kMaxBinaryEmblemBytes * 4, 0);
    std::vector<std::uint8_t> body = packEmblem(huge);
    std::vector<std::uint8_t> image = {'o', 'v', 'r', 0x84};
    image.insert(image.end(), body.begin(), body.end());
    bad.push_back(encipher(image));
  }
  {
    std::vector<std::uint8_t> image(12, 0);
    image[3] = 4;
    storeLe32(&image[8], 511);  // claims 511 records that are not there
    bad.push_back(encipher(image));
  }
  for (std::size_t i = 0; i < bad.size(); ++i) {
    EmblemDocument doc;
    doc.newDocument(u"previous", 192, 96);
    const ReadOutcome outcome = read(doc, bad[i]);
    EXPECT_FALSE(outcome.ok) << "case " << i;
    EXPECT_EQ(outcome.updateEnds, (std::vector<std::int32_t>{0})) << "case " << i;
    EXPECT_EQ(doc.root(), nullptr) << "case " << i;
  }
}

TEST(BinaryEmblemFile, SavesAtomicallyAndReadsFromDisk) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("orvane-binary-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  EmblemDocument doc;
  doc.newDocument(u"disk", 192, 96);
  addLayer(doc, doc.root(), EmblemDocument::defaultLayerRecord());
  std::string error;
  ASSERT_TRUE(writeBinaryEmblem(doc, dir / "a.ovr", false, &error)) << error;
  EmblemDocument back;
  ASSERT_TRUE(readBinaryEmblem(back, dir / "a.ovr", &error)) << error;
  EXPECT_EQ(back.root()->name(), u"disk");
  EXPECT_FALSE(writeBinaryEmblem(doc, dir / "missing" / "b.ovr", false, &error));
  EXPECT_FALSE(readBinaryEmblem(back, dir / "none.ovr", &error));
  EXPECT_NE(error.find("cannot open"), std::string::npos);
  EXPECT_EQ(back.root(), nullptr);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace orvane
