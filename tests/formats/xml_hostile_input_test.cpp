// XML emblem files made to hurt: markup counts far beyond any emblem are refused before the
// parser builds its tree (and quickly), while processing instructions, which XML allows
// anywhere, are read past wherever they stand.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "formats/xml_emblem_file.h"
#include "formats/xml_screening.h"

namespace orvane {
namespace {

std::string repeated(std::string_view piece, std::size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (std::size_t i = 0; i < count; ++i) text += piece;
  return text;
}

std::string refusal(const std::string& text) {
  EmblemDocument document;
  std::string error;
  EXPECT_FALSE(readXmlEmblemFromMemory(document, text, &error)) << text.substr(0, 60);
  EXPECT_EQ(document.root(), nullptr);
  return error;
}

TEST(XmlHostileInput, AbsurdAttributeCountsAreRefusedAtOnce) {
  std::string attributes;
  for (int i = 0; i < 200'000; ++i) attributes += " a" + std::to_string(i) + "=\"1\"";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(refusal("<ov><layer" + attributes + "/></ov>"),
            "an element with more than 256 attributes");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));

  // Within the limit of each element, but too many over the whole file.
  const std::string layer = "<layer" + attributes.substr(0, attributes.find(" a17=")) + "/>";
  const std::string many = attributes.substr(0, attributes.find(" a255="));
  EXPECT_EQ(refusal("<ov>" + repeated(layer, 100'000) + "</ov>"), "more than 1600000 attributes");

  // Equals signs and angle brackets inside values are not attributes or markup: with its name
  // this element has exactly the most attributes allowed.
  EmblemDocument document;
  std::string error;
  EXPECT_TRUE(readXmlEmblemFromMemory(
      document, "<ov name='" + repeated("=>", 1000) + "'" + many + "/>", &error))
      << error;
}

TEST(XmlHostileInput, NodeCountsBeyondAnyEmblemAreRefused) {
  EXPECT_EQ(refusal("<ov>" + repeated("<layer/>", kMaxEmblemNodes + 1) + "</ov>"),
            "more than 100000 layers and groups");
  EXPECT_EQ(refusal("<ov>" + repeated("<!---->", kMaxXmlNodes) + "</ov>"),
            "more than 200000 XML nodes");
  EXPECT_EQ(refusal("<ov>" + repeated("<x/>t", kMaxXmlNodes / 2) + "</ov>"),
            "more than 200000 XML nodes");

  EmblemDocument document;
  std::string error;
  ASSERT_TRUE(readXmlEmblemFromMemory(
      document, "<ov>" + repeated("<layer/>\r\n", kMaxEmblemNodes) + "</ov>", &error))
      << error;
  EXPECT_EQ(EmblemDocument::countKind(document.root(), NodeKind::Layer), kMaxEmblemNodes);
}

TEST(XmlHostileInput, ProcessingInstructionsAreReadPastWhereverTheyStand) {
  EmblemDocument document;
  std::string error;
  ASSERT_TRUE(readXmlEmblemFromMemory(document,
                                      "<?xml version=\"1.0\"?>\r\n<!-- made by hand -->\r\n"
                                      "<?xml-stylesheet href=\"a.css\"?>\r\n"
                                      "<ov name=\"x?>\" width=\"2\"><?pi <layer/> ?>"
                                      "<layer name=\"<?not one?>\"/><!-- <?no?> --></ov><?end?>",
                                      &error))
      << error;
  ASSERT_NE(document.root(), nullptr);
  EXPECT_EQ(document.root()->name(), u"x?>");
  ASSERT_EQ(EmblemDocument::countKind(document.root(), NodeKind::Layer), 1u);
  EXPECT_EQ(document.root()->firstChild()->name(), u"<?not one?>");

  // A declaration that does not come first is still an error, and its line is still told.
  const std::string late = refusal("<!-- c -->\n\n<?xml version=\"1.0\"?><ov/>");
  EXPECT_EQ(late.rfind("not well-formed XML:", 0), 0u) << late;
  EXPECT_NE(late.find("line 3"), std::string::npos) << late;
}

TEST(XmlHostileInput, ScreeningCopiesTheTextOnlyToBlankInstructions) {
  std::string text;
  ASSERT_TRUE(screenXmlText("<?xml version='1.0'?><ov/>", text));
  EXPECT_TRUE(text.empty());
  ASSERT_TRUE(screenXmlText("<ov><?a\r\nb?></ov>", text));
  EXPECT_EQ(text, "<ov>   \r\n   </ov>");
  ASSERT_TRUE(screenXmlText("<ov><!-- unterminated <?a?>", text));
  EXPECT_TRUE(text.empty());
}

}  // namespace
}  // namespace orvane
