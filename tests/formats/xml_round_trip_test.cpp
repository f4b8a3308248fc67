#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale>
#include <random>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "editing/layer_transforms.h"
#include "formats/xml_emblem_file.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// One node of a tree flattened in pre-order, in the form the file keeps it.
struct Entry {
  int depth;
  NodeKind kind;
  std::u16string name;
  bool visible;
  EmblemInfo info;
  LayerRecord layer;
  friend bool operator==(const Entry&, const Entry&) = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
  return out << "{depth " << e.depth << " kind " << static_cast<int>(e.kind) << " name length "
             << e.name.size() << " visible " << e.visible << " color " << std::hex << e.layer.color
             << std::dec << " lt " << e.layer.ltx << "," << e.layer.lty << "}";
}

// Calls visit(node, depth) for every node in pre-order.
template <typename Visit>
void forEachNode(const EmblemDocument& document, Visit visit) {
  const EmblemNode* root = document.root();
  int depth = 0;
  for (const EmblemNode* n = root; n;) {
    visit(*n, depth);
    if (n->firstChild()) {
      n = n->firstChild();
      ++depth;
      continue;
    }
    while (n != root && !n->next()) {
      n = n->parent();
      --depth;
    }
    n = n == root ? nullptr : n->next();
  }
}

std::vector<Entry> entriesOf(const EmblemDocument& document) {
  std::vector<Entry> entries;
  forEachNode(document, [&](const EmblemNode& n, int depth) {
    entries.push_back({depth, n.kind(), n.name(), n.visible(), n.info(), n.layer()});
  });
  return entries;
}

// The tree as read back: images are dropped, layers and the root come back visible, layers
// come back with their pending transform applied.
std::vector<Entry> expectedAfterReload(const EmblemDocument& document) {
  std::vector<Entry> entries;
  forEachNode(document, [&](const EmblemNode& n, int depth) {
    if (n.kind() == NodeKind::Image) return;
    Entry e{depth,    n.kind(), n.name(), n.kind() == NodeKind::Group ? n.visible() : true,
            n.info(), {}};
    if (n.kind() == NodeKind::Layer) {
      const Quad q = effectiveVertices(n.layer());
      e.layer.ltx = q.lt.x, e.layer.lty = q.lt.y, e.layer.lbx = q.lb.x, e.layer.lby = q.lb.y;
      e.layer.rtx = q.rt.x, e.layer.rty = q.rt.y, e.layer.rbx = q.rb.x, e.layer.rby = q.rb.y;
      e.layer.color = n.layer().color;
      e.layer.partId = n.layer().partId;
    }
    entries.push_back(e);
  });
  return entries;
}

// Builds random emblems: any mix of groups, layers and images up to a few levels deep, names
// with markup characters, Japanese text and surrogate pairs, and layers with pending moves,
// scales and rotations.
class RandomEmblem {
 public:
  // Layers take the alphas firstAlpha, firstAlpha + 1, ... (mod 256) in the order they are made.
  RandomEmblem(std::uint32_t seed, std::uint32_t firstAlpha = 0)
      : random_(seed), nextAlpha_(firstAlpha) {}

  void build(EmblemDocument& document) {
    document_ = &document;
    // The root is sometimes hidden, which the file cannot keep.
    document.setRoot(EmblemDocument::makeNode(nullptr, NodeKind::Info, name(), pick(0, 3) != 0));
    EmblemDocument::setInfo(document.root(),
                            EmblemInfo{pick(-5, 99999), pick(-1, 255), pick(1, 127), pick(0, 31)});
    fill(document.root(), 0);
  }

 private:
  std::int32_t pick(std::int32_t low, std::int32_t high) {
    return std::uniform_int_distribution<std::int32_t>(low, high)(random_);
  }

  std::u16string name() {
    static const std::u16string_view kPieces[] = {
        u"a",        u"Z",          u"7",          u" ",  u"&",   u"<",   u">",
        u"\"",       u"'",          u"&amp;",      u"\t", u"\n",  u"紋",  u"章",
        u"レイヤー", u"\U0001F600", u"\U00020BB7", u"é",  u"]]>", u"<!--"};
    std::u16string text;
    const int count = pick(0, 4) == 0 ? pick(100, 300) : pick(0, 8);
    for (int i = 0; i < count; ++i)
      text += kPieces[pick(0, static_cast<std::int32_t>(std::size(kPieces)) - 1)];
    return text;
  }

  LayerRecord layerRecord() {
    LayerRecord r;
    r.ltx = pick(-300, 300), r.lty = pick(-300, 300), r.lbx = pick(-300, 300);
    r.lby = pick(-300, 300), r.rtx = pick(-300, 300), r.rty = pick(-300, 300);
    r.rbx = pick(-300, 300), r.rby = pick(-300, 300);
    r.partId = pick(0, 1023);
    r.color = (nextAlpha_++ % 256u) << 24 | static_cast<std::uint32_t>(pick(0, 0xFFFFFF));
    if (pick(0, 1)) {
      r.moveX = pick(-50, 50), r.moveY = pick(-50, 50);
      r.moveOriginX = pick(-50, 50), r.moveOriginY = pick(-50, 50);
    }
    if (pick(0, 2) == 0) {
      r.scaleX = static_cast<float>(pick(-90, 200)) / 100.0f;
      r.scaleY = static_cast<float>(pick(-90, 200)) / 100.0f;
      r.scaleCentreX = pick(-20, 20), r.scaleCentreY = pick(-20, 20);
    }
    if (pick(0, 2) == 0) {
      r.rotation = static_cast<float>(pick(-628, 628)) / 100.0f;
      r.rotationCentreX = pick(-20, 20), r.rotationCentreY = pick(-20, 20);
    }
    return r;
  }

  void fill(EmblemNode* parent, int depth) {
    const int children = pick(0, depth == 0 ? 12 : 5);
    for (int i = 0; i < children; ++i) {
      const int roll = pick(0, 9);
      const NodeKind kind = roll < 6                ? NodeKind::Layer
                            : roll < 9 && depth < 6 ? NodeKind::Group
                                                    : NodeKind::Image;
      NodePtr node = EmblemDocument::makeNode(document_, kind, name(), pick(0, 1) == 1);
      EmblemNode* raw = node.get();
      if (kind == NodeKind::Layer) EmblemDocument::setLayerRecord(raw, layerRecord());
      if (kind == NodeKind::Image) EmblemDocument::setImageRecord(raw, {"pic<&>.png", 0.5f});
      document_->appendChild(parent, std::move(node));
      if (kind == NodeKind::Group) fill(raw, depth + 1);
    }
  }

  std::mt19937 random_;
  EmblemDocument* document_ = nullptr;
  std::uint32_t nextAlpha_ = 0;
};

TEST(XmlRoundTrip, RandomTreesComeBackAsTheFileKeepsThem) {
  std::size_t layers = 0;
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    EmblemDocument original;
    RandomEmblem(seed, static_cast<std::uint32_t>(layers)).build(original);
    layers += EmblemDocument::countKind(original.root(), NodeKind::Layer);
    const std::string text = xmlEmblemText(original);

    EmblemDocument reloaded;
    std::string error;
    ASSERT_TRUE(readXmlEmblemFromMemory(reloaded, text, &error))
        << "seed " << seed << ": " << error;
    ASSERT_EQ(entriesOf(reloaded), expectedAfterReload(original)) << "seed " << seed;
  }
  EXPECT_GE(layers, 256u);  // every alpha value has turned up
}

TEST(XmlRoundTrip, ExamplesAreExactlyWhatTheWriterWrites) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(fs::path(ORVANE_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() == ".ovml") names.push_back(entry.path().filename().string());
  }
  for (const char* expected : {"crest.ovml", "small.ovml"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
  }
  for (const std::string& name : names) {
    const fs::path path = fs::path(ORVANE_SOURCE_DIR) / "examples" / name;
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string bytes(std::istreambuf_iterator<char>(in), {});
    EmblemDocument document;
    std::string error;
    ASSERT_TRUE(readXmlEmblem(document, path, &error)) << name << ": " << error;
    EXPECT_GT(EmblemDocument::countKind(document.root(), NodeKind::Layer), 0u) << name;
    EXPECT_EQ(xmlEmblemText(document), bytes) << name;
  }
}

// glibc's newlocale keeps a copy of LOCPATH it never frees; that is not this program's leak.
std::locale makeGermanLocale() {
#if defined(__SANITIZE_ADDRESS__)
  __lsan_disable();
  struct Enable {
    ~Enable() { __lsan_enable(); }
  } enable;
#endif
  return std::locale("de_DE.UTF-8");
}

// Switches the C and C++ locales to German (comma decimal separator) for one scope.
class GermanLocale {
 public:
  GermanLocale() : savedC_(std::setlocale(LC_ALL, nullptr)) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) return;
    try {
      savedCpp_ = std::locale::global(makeGermanLocale());
      active_ = true;
    } catch (const std::runtime_error&) {
      std::setlocale(LC_ALL, savedC_.c_str());
    }
  }
  ~GermanLocale() {
    if (!active_) return;
    std::locale::global(savedCpp_);
    std::setlocale(LC_ALL, savedC_.c_str());
  }
  bool active() const { return active_; }

 private:
  std::string savedC_;
  std::locale savedCpp_;
  bool active_ = false;
};

constexpr char kLocaleHelp[] =
    "the German locale is missing: run this test through ctest, which builds it and sets LOCPATH";

TEST(XmlLocale, WrittenBytesDoNotDependOnTheLocale) {
  EmblemDocument document;
  RandomEmblem(7).build(document);
  NodePtr layer = document.makeNewLayer();
  LayerRecord record = layer->layer();
  record.color = 0x80FCFCFC;
  EmblemDocument::setLayerRecord(layer.get(), record);
  document.appendChild(document.root(), std::move(layer));
  const std::string inC = xmlEmblemText(document);
  ASSERT_NE(inC.find("alpha=\"0."), std::string::npos);  // decimal fractions the locale could spoil
  const fs::path path =
      fs::temp_directory_path() / ("xml_locale_" + std::to_string(::getpid()) + ".ovml");
  std::string inGerman;
  std::string fileInGerman;
  {
    GermanLocale german;
    ASSERT_TRUE(german.active()) << kLocaleHelp;
    char probe[16];
    std::snprintf(probe, sizeof probe, "%g", 0.5);
    ASSERT_STREQ(probe, "0,5");  // the locale really is in force
    inGerman = xmlEmblemText(document);
    ASSERT_TRUE(writeXmlEmblem(document, path));
    std::ifstream in(path, std::ios::binary);
    fileInGerman.assign(std::istreambuf_iterator<char>(in), {});
  }
  fs::remove(path);
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
  EXPECT_EQ(inGerman, inC);
  EXPECT_EQ(fileInGerman, inC);
}

TEST(XmlLocale, ReadNumbersDoNotDependOnTheLocale) {
  EmblemDocument document;
  bool read = false;
  {
    GermanLocale german;
    ASSERT_TRUE(german.active()) << kLocaleHelp;
    read = readXmlEmblemFromMemory(
        document, "<ov><layer color=\"#102030\" alpha=\"0.501961\" ltx=\"-12\"/></ov>");
  }
  ASSERT_TRUE(read);
  const LayerRecord& r = document.root()->firstChild()->layer();
  EXPECT_EQ(r.color, 0x80102030u);
  EXPECT_EQ(r.ltx, -12);
}

}  // namespace
}  // namespace orvane
