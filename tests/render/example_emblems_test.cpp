// The example emblems a newcomer renders first: each one reads, shows only parts that have a
// picture in our atlas, and its binary copy under examples/ovr/ holds the same layers.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "catalogue/part_catalogue.h"
#include "formats/emblem_file.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> exampleFiles(const fs::path& folder, const char* extension) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == extension) files.push_back(entry.path());
  }
  return files;
}

std::vector<LayerRecord> layersOf(const EmblemDocument& document) {
  std::vector<LayerRecord> layers;
  forEachInSubtree(document.root(), [&](const EmblemNode* node) {
    if (node->kind() == NodeKind::Layer) layers.push_back(node->layer());
  });
  return layers;
}

const fs::path kExamples = fs::path(ORVANE_SOURCE_DIR) / "examples";

TEST(ExampleEmblems, ShowOnlyNamedParts) {
  const std::vector<fs::path> files = exampleFiles(kExamples, ".ovml");
  ASSERT_GE(files.size(), 3u);
  for (const fs::path& file : files) {
    EmblemDocument document;
    std::string error;
    ASSERT_TRUE(readEmblemFile(document, file, &error)) << file << ": " << error;
    const std::vector<LayerRecord> layers = layersOf(document);
    EXPECT_FALSE(layers.empty()) << file;
    for (const LayerRecord& layer : layers) {
      EXPECT_TRUE(isNamedPart(std::uint32_t(layer.partId)))
          << file.filename() << " shows the blank part " << layer.partId;
    }
  }
}

TEST(ExampleEmblems, BinaryCopiesHoldTheSameLayers) {
  const std::vector<fs::path> copies = exampleFiles(kExamples / "ovr", ".ovr");
  ASSERT_FALSE(copies.empty());
  for (const fs::path& copy : copies) {
    const fs::path original = kExamples / copy.filename().replace_extension(".ovml");
    EmblemDocument fromXml, fromBinary;
    ASSERT_TRUE(readEmblemFile(fromXml, original)) << original;
    ASSERT_TRUE(readEmblemFile(fromBinary, copy)) << copy;
    const std::vector<LayerRecord> a = layersOf(fromXml), b = layersOf(fromBinary);
    ASSERT_EQ(a.size(), b.size()) << copy;
    for (std::size_t i = 0; i < a.size(); ++i) {
      EXPECT_EQ(a[i].partId, b[i].partId) << copy << " layer " << i;
      const auto corners = [](const LayerRecord& r) {
        return std::vector{r.ltx, r.lty, r.lbx, r.lby, r.rtx, r.rty, r.rbx, r.rby};
      };
      EXPECT_EQ(corners(a[i]), corners(b[i])) << copy << " layer " << i;
    }
  }
}

}  // namespace
}  // namespace orvane
