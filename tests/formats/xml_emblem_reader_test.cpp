#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "formats/xml_emblem_file.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";

// Every notification of a document, as "Event" or "Event:name" or "Event(value)".
class EventLog {
 public:
  explicit EventLog(EmblemDocument& document) : document_(document) {
    static const char* const kNames[] = {"Cleared",     "UpdateBegins", "UpdateEnds",
                                         "NodeAdded",   "NodeRemoved",  "NameChanged",
                                         "InfoChanged", "GroupChanged", "LayerChanged"};
    for (int i = 0; i < kDocumentEventCount; ++i) {
      ids_[i] = document.registerCallback(
          static_cast<DocumentEvent>(i),
          [this, name = std::string(kNames[i])](const DocumentEventArgs& a, std::uint32_t) {
            if (a.event == DocumentEvent::UpdateEnds) {
              entries.push_back(name + "(" + std::to_string(a.value) + ")");
            } else if (a.node) {
              const std::u16string& n = a.node->name();
              entries.push_back(name + ":" + std::string(n.begin(), n.end()));
            } else {
              entries.push_back(name);
            }
          });
    }
  }
  ~EventLog() {
    for (RegistrationId id : ids_) document_.unregisterCallback(id);
  }
  std::vector<std::string> entries;

 private:
  EmblemDocument& document_;
  RegistrationId ids_[kDocumentEventCount] = {};
};

const EmblemNode* childAt(const EmblemNode* parent, int index) {
  const EmblemNode* node = parent ? parent->firstChild() : nullptr;
  while (node && index-- > 0) node = node->next();
  return node;
}

int childCount(const EmblemNode* parent) {
  int count = 0;
  for (const EmblemNode* n = parent->firstChild(); n; n = n->next()) ++count;
  return count;
}

// Reads `body` wrapped in the declaration; expects success.
void readOk(EmblemDocument& document, const std::string& body) {
  std::string error;
  ASSERT_TRUE(readXmlEmblemFromMemory(document, kDeclaration + body, &error)) << error;
}

// The layer read from <ov><layer attributes/></ov>.
LayerRecord readLayer(const std::string& attributes) {
  EmblemDocument document;
  readOk(document, "<ov><layer " + attributes + "/></ov>");
  const EmblemNode* layer = childAt(document.root(), 0);
  return layer ? layer->layer() : LayerRecord{};
}

struct TempDir {
  TempDir() {
    path = fs::temp_directory_path() /
           ("xml_reader_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempDir() { fs::remove_all(path); }
  fs::path path;
};

TEST(XmlReaderValues, MissingAttributesTakeTheDefaults) {
  EmblemDocument document;
  readOk(document, "<ov><layer/><g/></ov>");
  const EmblemNode* root = document.root();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->kind(), NodeKind::Info);
  EXPECT_EQ(root->name(), kUntitledName);
  EXPECT_TRUE(root->visible());
  EXPECT_EQ(root->info(), EmblemInfo{});
  ASSERT_EQ(childCount(root), 2);
  const EmblemNode* layer = childAt(root, 0);
  EXPECT_EQ(layer->kind(), NodeKind::Layer);
  EXPECT_EQ(layer->name(), u"レイヤー");
  EXPECT_TRUE(layer->visible());
  EXPECT_EQ(layer->layer(), LayerRecord{});
  const EmblemNode* group = childAt(root, 1);
  EXPECT_EQ(group->kind(), NodeKind::Group);
  EXPECT_EQ(group->name(), u"グループ");
  EXPECT_FALSE(group->visible());
}

TEST(XmlReaderValues, NumbersAreReadLikeScanfD) {
  EmblemDocument document;
  readOk(document,
         "<ov name=\"\" version=\"99\" author=\" 123456\" width=\"32px\" height=\"-7\" "
         "sound=\"x3\"><layer type=\"1023\" ltx=\"-300\" lty=\"+5\" lbx=\"abc\" lby=\"2.9\" "
         "rtx=\"99999999999\" rty=\"\" rbx=\"0x10\"/></ov>");
  const EmblemNode* root = document.root();
  EXPECT_EQ(root->name(), u"");  // present but empty is not missing
  EXPECT_EQ(root->info(), (EmblemInfo{123456, 32, -7, 0}));
  const LayerRecord& r = childAt(root, 0)->layer();
  EXPECT_EQ(r.partId, 1023);
  EXPECT_EQ(r.ltx, -300);
  EXPECT_EQ(r.lty, 5);
  EXPECT_EQ(r.lbx, 0);
  EXPECT_EQ(r.lby, 2);
  EXPECT_EQ(r.rtx, 2147483647);
  EXPECT_EQ(r.rty, 0);
  EXPECT_EQ(r.rbx, 0);
  EXPECT_EQ(r.rby, 0);
}

TEST(XmlReaderValues, VisibleFollowsPrefixRulesAndKindDefaults) {
  struct Case {
    const char* text;
    bool layer;  // layers default to visible
    bool group;  // groups default to hidden
  };
  const Case cases[] = {
      {"true", true, true},   {"TRUE", true, true},    {"TrueColor", true, true},
      {"yes", true, true},    {"YES", true, true},     {"1", true, true},
      {"10", true, true},     {"false", false, false}, {"False", false, false},
      {"no", false, false},   {"NO", false, false},    {"0", false, false},
      {"maybe", true, false}, {"", true, false},       {" true", true, false},
      {"2", true, false},     {"tru", true, false},
  };
  for (const Case& c : cases) {
    EmblemDocument document;
    const std::string v = std::string("visible=\"") + c.text + "\"";
    readOk(document, "<ov " + v + "><layer " + v + "/><g " + v + "/></ov>");
    EXPECT_EQ(childAt(document.root(), 0)->visible(), c.layer) << "layer " << c.text;
    EXPECT_EQ(childAt(document.root(), 1)->visible(), c.group) << "group " << c.text;
    EXPECT_EQ(document.root()->visible(), c.layer) << "root " << c.text;
  }
}

TEST(XmlReaderValues, ColourTakesTheLowSixHexDigitsAndTheRoundedAlpha) {
  struct Case {
    const char* attributes;
    std::uint32_t color;
  };
  const Case cases[] = {
      {"color=\"#fcfcfc\" alpha=\"1\"", 0xFFFCFCFC},
      {"color=\"#ABCdef\" alpha=\"0.501961\"", 0x80ABCDEF},
      {"color=\"#ff\" alpha=\"0.0117647\"", 0x030000FF},  // rounded, not truncated to 2
      {"color=\"#12345678\" alpha=\"0\"", 0x00345678},    // the alpha byte is alpha's alone
      {"color=\"#123456789abc\" alpha=\"1\"", 0xFF789ABC},
      {"color=\"#12zz34\" alpha=\"1\"", 0xFF000012},  // digits end at the first non-digit
      {"color=\"#\" alpha=\"1\"", 0xFF000000},
      {"color=\"#fcfcfc\"", 0x00FCFCFC},                 // alpha missing
      {"color=\"#fcfcfc\" alpha=\"half\"", 0x00FCFCFC},  // not a number
      {"color=\"#fcfcfc\" alpha=\"1.5\"", 0xFFFCFCFC},   // clamped
      {"color=\"#fcfcfc\" alpha=\"-0.25\"", 0x00FCFCFC},
      {"color=\"#fcfcfc\" alpha=\"nan\"", 0x00FCFCFC},
      {"color=\"#fcfcfc\" alpha=\"inf\"", 0xFFFCFCFC},
      {"color=\"#fcfcfc\" alpha=\"1e300\"", 0xFFFCFCFC},
      {"color=\"#fcfcfc\" alpha=\"1e999\"", 0xFFFCFCFC},
      {"color=\"#fcfcfc\" alpha=\"1E-999\"", 0x00FCFCFC},  // underflow is 0, not infinity
      {"color=\"00ff00\" alpha=\"1\"", 0x00000000},        // no "#": transparent black
      {"alpha=\"1\"", 0x00000000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(readLayer(c.attributes).color, c.color) << c.attributes;
  }
  // Every value the writer gives an 8-bit alpha, A / 255 to six digits, comes back as A.
  for (int a = 0; a < 256; ++a) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", a / 255.0);
    EXPECT_EQ(readLayer(std::string("color=\"#000000\" alpha=\"") + text + "\"").color >> 24,
              static_cast<std::uint32_t>(a))
        << text;
  }
}

TEST(XmlReaderValues, NamesAreDecodedAndCutToTheNodeLimit) {
  EmblemDocument document;
  const std::string longAscii(300, 'x');
  // 254 units then a surrogate pair that would straddle the 255-unit limit.
  const std::string straddling = std::string(254, 'y') + "\xF0\x9F\x98\x80";
  readOk(document,
         "<ov name=\"&lt;&amp;&quot;&gt;&apos; &#x41;紋章\">"
         "<layer name=\"bad\xFF\xC3(\"/>"
         "<layer name=\"" +
             longAscii +
             "\"/>"
             "<g name=\"" +
             straddling +
             "\"/>"
             "<layer name=\"\xF0\x9F\x98\x80\"/></ov>");
  const EmblemNode* root = document.root();
  EXPECT_EQ(root->name(), u"<&\">' A紋章");
  EXPECT_EQ(childAt(root, 0)->name(), u"bad\uFFFD\uFFFD(");
  EXPECT_EQ(childAt(root, 1)->name(), std::u16string(255, u'x'));
  EXPECT_EQ(childAt(root, 2)->name(), std::u16string(254, u'y'));
  EXPECT_EQ(childAt(root, 3)->name(), u"\U0001F600");
}

TEST(XmlReaderStructure, TreeFollowsElementOrderAndNesting) {
  EmblemDocument document;
  readOk(document,
         "<ov name=\"root\">\r\n"
         "  <g name=\"outer\" visible=\"true\">\r\n"
         "    <g name=\"inner\">\r\n"
         "      <layer name=\"a\"/>\r\n"
         "    </g>\r\n"
         "    <layer name=\"b\"/>\r\n"
         "  </g>\r\n"
         "  <layer name=\"c\"><layer name=\"ignored\"/></layer>\r\n"
         "</ov>\r\n");
  const EmblemNode* root = document.root();
  ASSERT_EQ(childCount(root), 2);
  const EmblemNode* outer = childAt(root, 0);
  EXPECT_EQ(outer->name(), u"outer");
  ASSERT_EQ(childCount(outer), 2);
  const EmblemNode* inner = childAt(outer, 0);
  EXPECT_EQ(inner->name(), u"inner");
  ASSERT_EQ(childCount(inner), 1);
  EXPECT_EQ(childAt(inner, 0)->name(), u"a");
  EXPECT_EQ(childAt(outer, 1)->name(), u"b");
  EXPECT_EQ(childAt(root, 1)->name(), u"c");
  EXPECT_EQ(childAt(root, 1)->firstChild(), nullptr);
}

TEST(XmlReaderStructure, OnlyKnownElementsBecomeNodes) {
  EmblemDocument document;
  readOk(document,
         "<ov><image name=\"pic\" alpha=\"1\" src=\"a.png\"/><Layer/><G/>"
         "<ov><layer name=\"in nested ov\"/></ov>"
         "<extra><layer name=\"in extra\"/></extra><!-- note --><layer name=\"kept\"/></ov>");
  ASSERT_EQ(childCount(document.root()), 1);
  EXPECT_EQ(childAt(document.root(), 0)->name(), u"kept");
  EXPECT_EQ(EmblemDocument::countKind(document.root(), NodeKind::Image), 0u);
}

TEST(XmlReaderStructure, FirstTopLevelOvElementIsTheEmblem) {
  EmblemDocument document;
  readOk(document,
         "<other><ov name=\"inside\"/></other><OV name=\"case\"/>"
         "<ov name=\"first\"/><ov name=\"second\"/>");
  ASSERT_NE(document.root(), nullptr);
  EXPECT_EQ(document.root()->name(), u"first");
}

TEST(XmlReaderStructure, FileWithoutOvIsAnEmptyEmblem) {
  for (const char* body : {"<emblem name=\"x\"><layer/></emblem>", "", "<!-- only a note -->"}) {
    EmblemDocument document;
    document.newDocument(u"old", 192, 96);
    EventLog log(document);
    readOk(document, body);
    EXPECT_EQ(document.root(), nullptr) << body;
    EXPECT_EQ(log.entries, (std::vector<std::string>{"UpdateBegins", "Cleared", "UpdateEnds(1)"}))
        << body;
  }
}

TEST(XmlReaderStructure, DeepestNestingTheParserAcceptsIsRead) {
  // 97 groups below <ov> is as deep as the parser goes; deeper files are refused below.
  constexpr int kDepth = 97;
  std::string body = "<ov>";
  for (int i = 0; i < kDepth; ++i) body += "<g>";
  body += "<layer/>";
  for (int i = 0; i < kDepth; ++i) body += "</g>";
  body += "<layer name=\"last\"/></ov>";
  EmblemDocument document;
  readOk(document, body);
  const EmblemNode* node = document.root();
  for (int i = 0; i < kDepth; ++i) {
    ASSERT_EQ(childCount(node), i == 0 ? 2 : 1) << "depth " << i;
    node = node->firstChild();
    ASSERT_EQ(node->kind(), NodeKind::Group);
  }
  EXPECT_EQ(node->firstChild()->kind(), NodeKind::Layer);
  EXPECT_EQ(document.root()->lastChild()->name(), u"last");
}

TEST(XmlReaderEvents, SettersFireBeforeEachNodeIsAdded) {
  EmblemDocument document;
  document.newDocument(u"old", 192, 96);
  EventLog log(document);
  readOk(document,
         "<ov name=\"R\"><layer name=\"L1\"/><g name=\"G\"><layer name=\"L2\"/></g>"
         "<layer name=\"L3\"/></ov>");
  EXPECT_EQ(log.entries,
            (std::vector<std::string>{"UpdateBegins", "Cleared", "InfoChanged:R", "NodeAdded:R",
                                      "LayerChanged:L1", "NodeAdded:L1", "GroupChanged:G",
                                      "NodeAdded:G", "LayerChanged:L2", "NodeAdded:L2",
                                      "LayerChanged:L3", "NodeAdded:L3", "UpdateEnds(1)"}));
}

TEST(XmlReaderFailures, BadInputLeavesAnEmptyDocumentAndEndsWithZero) {
  struct Case {
    std::string bytes;
    std::string reason;
  };
  std::string tooDeep;
  for (int i = 0; i < 100000; ++i) tooDeep += "<g>";
  tooDeep = "<ov>" + tooDeep;
  for (int i = 0; i < 100000; ++i) tooDeep += "</g>";
  tooDeep += "</ov>";
  const Case cases[] = {
      {"", "not well-formed XML:"},
      {" \r\n", "not well-formed XML:"},
      {"<ov><layer></ov>", "not well-formed XML:"},
      {"<ov></OV>", "not well-formed XML:"},
      {"<ov name=a/>", "not well-formed XML:"},
      {"<ov", "not well-formed XML:"},
      {tooDeep, "nested too deeply"},
  };
  for (const Case& c : cases) {
    EmblemDocument document;
    document.newDocument(u"old", 192, 96);
    EventLog log(document);
    std::string error;
    EXPECT_FALSE(readXmlEmblemFromMemory(document, c.bytes, &error)) << c.bytes.substr(0, 40);
    EXPECT_EQ(document.root(), nullptr);
    EXPECT_EQ(error.rfind(c.reason, 0), 0u) << error;
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(log.entries.front(), "UpdateBegins");
    EXPECT_EQ(log.entries.back(), "UpdateEnds(0)");
    EXPECT_EQ(std::count(log.entries.begin(), log.entries.end(), "UpdateEnds(0)"), 1);
  }
}

TEST(XmlReaderFiles, UnreadableFilesAreRefused) {
  TempDir dir;
  const fs::path large = dir.path / "large.ovml";
  { std::ofstream(large) << "<ov/>"; }
  fs::resize_file(large, kMaxXmlEmblemBytes + 1);  // sparse: costs no disk space
  const fs::path empty = dir.path / "empty.ovml";
  { std::ofstream{empty}; }

  const fs::path paths[] = {dir.path / "missing.ovml", dir.path, large, empty, fs::path()};
  for (const fs::path& path : paths) {
    EmblemDocument document;
    document.newDocument(u"old", 192, 96);
    EventLog log(document);
    std::string error;
    EXPECT_FALSE(readXmlEmblem(document, path, &error)) << path;
    EXPECT_EQ(document.root(), nullptr) << path;
    EXPECT_FALSE(error.empty()) << path;
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(log.entries.front(), "UpdateBegins");
    EXPECT_EQ(log.entries.back(), "UpdateEnds(0)");
  }
  std::string error;
  EmblemDocument document;
  readXmlEmblem(document, dir.path / "missing.ovml", &error);
  EXPECT_EQ(error.rfind("cannot open: ", 0), 0u) << error;
}

}  // namespace
}  // namespace orvane
