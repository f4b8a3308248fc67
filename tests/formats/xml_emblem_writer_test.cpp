#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "formats/xml_emblem_file.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n";

// A document with a visible root "E" (author 7, 192 x 96, sound 3).
struct Emblem {
  Emblem() {
    document.newDocument(u"E", 192, 96);
    EmblemDocument::setInfo(document.root(), EmblemInfo{7, 192, 96, 3});
  }
  EmblemNode* add(EmblemNode* parent, NodeKind kind, std::u16string_view name, bool visible) {
    NodePtr node = EmblemDocument::makeNode(&document, kind, name, visible);
    EmblemNode* raw = node.get();
    document.appendChild(parent ? parent : document.root(), std::move(node));
    return raw;
  }
  EmblemNode* layer(EmblemNode* parent, std::u16string_view name, const LayerRecord& record,
                    bool visible = true) {
    EmblemNode* node = add(parent, NodeKind::Layer, name, visible);
    EmblemDocument::setLayerRecord(node, record);
    return node;
  }
  // The lines between the root's start tag and its end tag.
  std::string body() const {
    const std::string text = xmlEmblemText(document);
    const std::size_t start = text.find("\r\n", std::string(kDeclaration).size()) + 2;
    const std::size_t end = text.rfind("</ov>\r\n");
    return text.substr(start, end - start);
  }
  EmblemDocument document;
};

LayerRecord squareWithColor(std::uint32_t color) {
  LayerRecord record = EmblemDocument::defaultLayerRecord();
  record.color = color;
  return record;
}

std::string fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct TempDir {
  TempDir() {
    path = fs::temp_directory_path() /
           ("xml_writer_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_all, ignored);
    fs::remove_all(path, ignored);
  }
  int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(path), {})); }
  fs::path path;
};

TEST(XmlWriterText, NewDocumentWithOneNewLayer) {
  EmblemDocument document;
  document.newDocument(u"", 192, 96);
  document.prependChild(document.root(), document.makeNewLayer());
  EXPECT_EQ(xmlEmblemText(document),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
            "<ov name=\"名称未設定\" visible=\"true\" version=\"4\" author=\"0\" width=\"192\" "
            "height=\"96\" sound=\"0\">\r\n"
            "  <layer name=\"新規レイヤー\" visible=\"true\" type=\"240\" color=\"#fcfcfc\" "
            "alpha=\"1\" ltx=\"-16\" lty=\"-16\" lbx=\"-16\" lby=\"16\" rtx=\"16\" rty=\"-16\" "
            "rbx=\"16\" rby=\"16\"/>\r\n"
            "</ov>\r\n");
}

TEST(XmlWriterText, EmptyDocumentIsAnEmptyOvElement) {
  EmblemDocument document;
  EXPECT_EQ(xmlEmblemText(document),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<ov>\r\n</ov>\r\n");
}

TEST(XmlWriterText, ColourIsSplitIntoHexDigitsAndAlpha) {
  struct Case {
    std::uint32_t color;
    const char* expected;
  };
  const Case cases[] = {
      {0x80123456, "color=\"#123456\" alpha=\"0.501961\""},
      {0xFF000000, "color=\"#000000\" alpha=\"1\""},
      {0x030000ff, "color=\"#0000ff\" alpha=\"0.0117647\""},
      {0x00ABCDEF, "color=\"#abcdef\" alpha=\"0\""},
  };
  for (const Case& c : cases) {
    Emblem emblem;
    emblem.layer(nullptr, u"l", squareWithColor(c.color));
    EXPECT_NE(emblem.body().find(c.expected), std::string::npos) << emblem.body();
  }
  // Every alpha is written as printf's "%g" of A / 255.
  for (std::uint32_t a = 0; a < 256; ++a) {
    Emblem emblem;
    emblem.layer(nullptr, u"l", squareWithColor(a << 24));
    char expected[64];
    std::snprintf(expected, sizeof expected, " alpha=\"%g\" ", a / 255.0);
    EXPECT_NE(emblem.body().find(expected), std::string::npos) << expected;
  }
}

TEST(XmlWriterText, LayerIsWrittenWithItsEffectiveVertices) {
  Emblem emblem;
  LayerRecord record = EmblemDocument::defaultLayerRecord();
  record.partId = 1023;
  record.moveX = 12, record.moveY = 5, record.moveOriginX = 10, record.moveOriginY = 8;
  emblem.layer(nullptr, u"moved", record);
  record = EmblemDocument::defaultLayerRecord();
  record.scaleX = 1.0f, record.scaleY = -0.5f;  // factors 2 and 0.5 about (10, 10)
  record.scaleCentreX = 10, record.scaleCentreY = 10;
  record.partId = 0;
  emblem.layer(nullptr, u"scaled", record);
  EXPECT_EQ(emblem.body(),
            "  <layer name=\"moved\" visible=\"true\" type=\"1023\" color=\"#fcfcfc\" alpha=\"1\" "
            "ltx=\"-14\" lty=\"-19\" lbx=\"-14\" lby=\"13\" rtx=\"18\" rty=\"-19\" rbx=\"18\" "
            "rby=\"13\"/>\r\n"
            "  <layer name=\"scaled\" visible=\"true\" type=\"0\" color=\"#fcfcfc\" alpha=\"1\" "
            "ltx=\"-42\" lty=\"-3\" lbx=\"-42\" lby=\"13\" rtx=\"22\" rty=\"-3\" rbx=\"22\" "
            "rby=\"13\"/>\r\n");
}

TEST(XmlWriterText, MarkupCharactersAreEscapedAndOtherBytesKept) {
  Emblem emblem;
  emblem.layer(nullptr, u"a<b&c\"d>e'f 紋章\U0001F600 ", squareWithColor(0xFF000000));
  EmblemDocument::setName(emblem.document.root(), u"&amp;");
  const std::string text = xmlEmblemText(emblem.document);
  EXPECT_NE(text.find("<ov name=\"&amp;amp;\" "), std::string::npos) << text;
  EXPECT_NE(text.find("<layer name=\"a&lt;b&amp;c&quot;d&gt;e&apos;f 紋章\xF0\x9F\x98\x80 \" "),
            std::string::npos)
      << text;
}

TEST(XmlWriterText, ControlCharactersAreReferencesAndComeBackUnchanged) {
  Emblem emblem;
  const std::u16string name = u"tab\t lf\n cr\r crlf\r\n del\x7F c1\x9B";
  emblem.layer(nullptr, name, squareWithColor(0xFF000000));
  const std::string plain = xmlEmblemText(emblem.document);
  EXPECT_EQ(plain.rfind(kDeclaration, 0), 0u);
  EXPECT_NE(plain.find("name=\"tab&#9; lf&#10; cr&#13; crlf&#13;&#10; del&#127; c1&#155;\""),
            std::string::npos)
      << plain;
  // Other C0 characters exist in XML 1.1 alone, and there only as references.
  emblem.layer(nullptr, u"esc\x1B]0;title\x07", squareWithColor(0xFF000000));
  const std::string restricted = xmlEmblemText(emblem.document);
  EXPECT_EQ(restricted.rfind("<?xml version=\"1.1\" encoding=\"utf-8\"?>\r\n", 0), 0u);
  EXPECT_NE(restricted.find("name=\"esc&#27;]0;title&#7;\""), std::string::npos) << restricted;
  for (char c : restricted) {
    const auto byte = static_cast<unsigned char>(c);
    EXPECT_TRUE(byte >= 0x20 || c == '\r' || c == '\n') << int(byte);
  }

  EmblemDocument back;
  ASSERT_TRUE(readXmlEmblemFromMemory(back, restricted));
  EXPECT_EQ(back.root()->firstChild()->name(), name);
  EXPECT_EQ(back.root()->firstChild()->next()->name(), u"esc\x1B]0;title\x07");
  EXPECT_EQ(xmlEmblemText(back), restricted);
}

TEST(XmlWriterText, NameEndsAtNulAndBrokenSurrogatesBecomeReplacements) {
  Emblem emblem;
  emblem.add(nullptr, NodeKind::Group, std::u16string(u"ab\0cd", 5), true);
  emblem.add(nullptr, NodeKind::Group, std::u16string(u"x\xD800y"), true);
  EXPECT_EQ(emblem.body(),
            "  <g name=\"ab\" visible=\"true\">\r\n  </g>\r\n"
            "  <g name=\"x\xEF\xBF\xBDy\" visible=\"true\">\r\n  </g>\r\n");
}

TEST(XmlWriterText, LongestNameIsWrittenWhole) {
  // 255 three-byte characters: longer in UTF-8 than any fixed name buffer of 512 bytes.
  const std::u16string name(255, u'紋');
  Emblem emblem;
  emblem.add(nullptr, NodeKind::Group, name, true);
  std::string utf8;
  for (int i = 0; i < 255; ++i) utf8 += "紋";
  EXPECT_EQ(emblem.body(), "  <g name=\"" + utf8 + "\" visible=\"true\">\r\n  </g>\r\n");
}

TEST(XmlWriterText, HiddenNodesHaveNoVisibleAttributeAndGroupsNestWithIndents) {
  Emblem emblem;
  EmblemDocument::setInfo(emblem.document.root(), EmblemInfo{-5, 32, 32, 31});
  EmblemNode* outer = emblem.add(nullptr, NodeKind::Group, u"outer", false);
  EmblemNode* inner = emblem.add(outer, NodeKind::Group, u"inner", true);
  emblem.layer(inner, u"deep", squareWithColor(0xFF010203), false);
  emblem.add(outer, NodeKind::Group, u"empty", true);
  emblem.layer(nullptr, u"top", squareWithColor(0x1F000000));
  EXPECT_EQ(
      xmlEmblemText(emblem.document),
      std::string(kDeclaration) +
          "<ov name=\"E\" visible=\"true\" version=\"4\" author=\"-5\" width=\"32\" "
          "height=\"32\" sound=\"31\">\r\n"
          "  <g name=\"outer\">\r\n"
          "    <g name=\"inner\" visible=\"true\">\r\n"
          "      <layer name=\"deep\" type=\"240\" color=\"#010203\" alpha=\"1\" ltx=\"-16\" "
          "lty=\"-16\" lbx=\"-16\" lby=\"16\" rtx=\"16\" rty=\"-16\" rbx=\"16\" rby=\"16\"/>\r\n"
          "    </g>\r\n"
          "    <g name=\"empty\" visible=\"true\">\r\n"
          "    </g>\r\n"
          "  </g>\r\n"
          "  <layer name=\"top\" visible=\"true\" type=\"240\" color=\"#000000\" "
          "alpha=\"0.121569\" ltx=\"-16\" lty=\"-16\" lbx=\"-16\" lby=\"16\" rtx=\"16\" "
          "rty=\"-16\" rbx=\"16\" rby=\"16\"/>\r\n"
          "</ov>\r\n");
}

TEST(XmlWriterText, ImageNodeIsWrittenWithAlphaAndEscapedSource) {
  Emblem emblem;
  EmblemNode* shown = emblem.add(nullptr, NodeKind::Image, u"pic", true);
  EmblemDocument::setImageRecord(shown, ImageRecord{"C:\\pics\\a&b's.png", 0.25f});
  EmblemNode* hidden = emblem.add(nullptr, NodeKind::Image, u"", false);
  EmblemDocument::setImageRecord(hidden, ImageRecord{"", 1.0f});
  EXPECT_EQ(emblem.body(),
            "  <image name=\"pic\" visible=\"true\" alpha=\"0.25\" "
            "src=\"C:\\pics\\a&amp;b&apos;s.png\"/>\r\n"
            "  <image name=\"\" alpha=\"1\" src=\"\"/>\r\n");
}

TEST(XmlWriterFile, FileHoldsExactlyTheText) {
  TempDir dir;
  Emblem emblem;
  emblem.layer(nullptr, u"l", squareWithColor(0x80FF00FF));
  const fs::path path = dir.path / "emblem.ovml";
  { std::ofstream(path) << "an older, longer file that must be replaced completely"; }
  std::string error;
  ASSERT_TRUE(writeXmlEmblem(emblem.document, path, &error)) << error;
  EXPECT_EQ(fileBytes(path), xmlEmblemText(emblem.document));
  EXPECT_EQ(dir.entries(), 1);  // no temporary file left beside it
}

TEST(XmlWriterFile, FailedWritesReportAndLeaveNothingBehind) {
  TempDir dir;
  Emblem emblem;
  std::string error;
  EXPECT_FALSE(writeXmlEmblem(emblem.document, dir.path / "missing" / "e.ovml", &error));
  EXPECT_EQ(error.rfind("cannot write: ", 0), 0u) << error;
  EXPECT_FALSE(fs::exists(dir.path / "missing"));

  const fs::path folder = dir.path / "folder";
  fs::create_directory(folder);
  error.clear();
  EXPECT_FALSE(writeXmlEmblem(emblem.document, folder, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::is_empty(folder));
  EXPECT_EQ(dir.entries(), 1);
}

TEST(XmlWriterFile, RefusesATreeThatCouldNotBeReadBackAndKeepsTheOldFile) {
  TempDir dir;
  EmblemDocument document;
  document.newDocument(u"deep", 192, 96);
  EmblemNode* parent = document.root();
  const fs::path path = dir.path / "deep.ovml";
  { std::ofstream(path) << "the user's good file"; }
  // Groups nested as deep as the reader takes are written; one more level is refused.
  for (int depth = 1; depth < 90; ++depth) {
    NodePtr group = document.makeNewGroup();
    EmblemNode* raw = group.get();
    ASSERT_TRUE(document.appendChild(parent, std::move(group)));
    parent = raw;
  }
  for (int depth = 90;; ++depth) {
    NodePtr group = document.makeNewGroup();
    EmblemNode* raw = group.get();
    ASSERT_TRUE(document.appendChild(parent, std::move(group)));
    parent = raw;
    std::string error;
    if (!writeXmlEmblem(document, path, &error)) {
      EXPECT_NE(error.find("nested too deeply"), std::string::npos) << error;
      EXPECT_GE(depth, 90);
      break;
    }
    EmblemDocument back;
    ASSERT_TRUE(readXmlEmblem(back, path)) << "depth " << depth;
    ASSERT_LT(depth, 1000);
  }
  EmblemDocument back;
  EXPECT_TRUE(readXmlEmblem(back, path));  // the last file written still opens
}

TEST(XmlWriterFile, WriteCutShortLeavesTheOldFileUntouched) {
  // A file size limit makes the write itself fail half-way, which works even for root, whom a
  // read-only folder does not stop.
  TempDir dir;
  const fs::path path = dir.path / "emblem.ovml";
  const std::string old = "old content";
  { std::ofstream(path, std::ios::binary) << old; }
  Emblem emblem;
  for (int i = 0; i < 50; ++i) emblem.layer(nullptr, u"l", squareWithColor(0xFF000000));

  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  std::string error;
  const bool written = writeXmlEmblem(emblem.document, path, &error);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(fileBytes(path), old);
  EXPECT_EQ(dir.entries(), 1);
}

TEST(XmlWriterFile, ReadOnlyFolderLeavesTheOldFileUntouched) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempDir dir;
  const fs::path path = dir.path / "emblem.ovml";
  { std::ofstream(path, std::ios::binary) << "old"; }
  fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
  Emblem emblem;
  std::string error;
  EXPECT_FALSE(writeXmlEmblem(emblem.document, path, &error));
  EXPECT_EQ(fileBytes(path), "old");
}

}  // namespace
}  // namespace orvane
