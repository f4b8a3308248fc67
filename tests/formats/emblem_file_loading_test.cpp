#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "formats/emblem_file.h"
#include "formats/xml_emblem_file.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// Records what the application's document tells its observers.
struct Heard {
  explicit Heard(EmblemDocument& document) : document(document) {
    for (int e = 0; e < kDocumentEventCount; ++e) {
      ids.push_back(document.registerCallback(
          static_cast<DocumentEvent>(e),
          [this](const DocumentEventArgs& args, std::uint32_t) { events.push_back(args.event); }));
    }
  }
  ~Heard() {
    for (RegistrationId id : ids) document.unregisterCallback(id);
  }
  EmblemDocument& document;
  std::vector<RegistrationId> ids;
  std::vector<DocumentEvent> events;
};

class EmblemFileLoading : public testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("orvane-loading-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    document_.newDocument(u"mine", 192, 96);
    document_.appendChild(document_.root(), document_.makeNewLayer());
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path write(const std::string& name, const std::string& bytes) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  void expectUntouched(const Heard& heard) {
    EXPECT_TRUE(heard.events.empty());
    ASSERT_NE(document_.root(), nullptr);
    EXPECT_EQ(document_.root()->name(), u"mine");
    EXPECT_EQ(document_.root()->childCount(), 1u);
  }

  fs::path folder_;
  EmblemDocument document_;
};

TEST_F(EmblemFileLoading, FailedLoadsLeaveTheOpenEmblemAndItsObserversAlone) {
  const std::string mine = xmlEmblemText(document_);
  Heard heard(document_);
  std::string error;
  EXPECT_FALSE(
      loadEmblemFile(document_, write("cut.ovml", mine.substr(0, mine.size() / 2)), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(loadEmblemFile(document_, write("short.ovr", "12345"), &error));
  EXPECT_FALSE(loadEmblemFile(document_, folder_ / "missing.ovml", &error));
  EXPECT_FALSE(loadEmblemFile(document_, write("notes.txt", "hello"), &error));
  // Well-formed XML without an emblem in it opens nothing.
  EXPECT_FALSE(
      loadEmblemFile(document_, write("other.ovml", "<?xml version=\"1.0\"?><x/>"), &error));
  EXPECT_EQ(error, "the file holds no emblem");
  expectUntouched(heard);
  EXPECT_EQ(xmlEmblemText(document_), mine);
}

TEST_F(EmblemFileLoading, AGoodFileReplacesTheTreeWithOneAddedRoot) {
  EmblemDocument other;
  other.newDocument(u"theirs", 32, 32);
  for (int i = 0; i < 3; ++i) other.appendChild(other.root(), other.makeNewLayer());
  const std::string theirs = xmlEmblemText(other);
  const fs::path path = write("UPPER.OVML", theirs);
  Heard heard(document_);
  ASSERT_TRUE(loadEmblemFile(document_, path));
  EXPECT_EQ(heard.events,
            (std::vector<DocumentEvent>{DocumentEvent::UpdateBegins, DocumentEvent::Cleared,
                                        DocumentEvent::NodeAdded, DocumentEvent::UpdateEnds}));
  EXPECT_EQ(xmlEmblemText(document_), theirs);
  EXPECT_EQ(document_.root()->childAt(2)->owner(), &document_);
}

}  // namespace
}  // namespace orvane
