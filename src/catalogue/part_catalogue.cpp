#include "catalogue/part_catalogue.h"

#include <array>

namespace orvane {

namespace {

struct CategoryInfo {
  PartCategory category;
  std::uint32_t first;
  std::uint32_t count;
  const char16_t* word;
};

// Each category owns a contiguous id range; the list shows them in this order.
constexpr std::array<CategoryInfo, 9> kCategories = {{
    {PartCategory::Characters, 0, 240, u"文字"},
    {PartCategory::BasicShapes, 240, 80, u"基本図形"},
    {PartCategory::Lines, 320, 80, u"ライン"},
    {PartCategory::Ink, 400, 80, u"インク"},
    {PartCategory::Gradations, 480, 80, u"グラデーション"},
    {PartCategory::Fractals, 560, 80, u"フラクタル"},
    {PartCategory::Marks, 640, 80, u"マーク"},
    {PartCategory::Pictures, 720, 64, u"ピクチャー"},
    {PartCategory::Other, 784, 240, u"その他"},
}};

const CategoryInfo& infoOf(std::uint32_t id) {
  for (std::size_t i = kCategories.size(); i-- > 1;) {
    if (id >= kCategories[i].first) return kCategories[i];
  }
  return kCategories[0];
}

// Appends value in decimal with at least `width` digits, independent of any locale.
void appendNumber(std::u16string& out, int value, int width) {
  char16_t digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value > 0);
  for (int i = count; i < width; ++i) out.push_back(u'0');
  while (count > 0) out.push_back(digits[--count]);
}

}  // namespace

int atlasRow(std::uint32_t id) {
  if (id >= 976) return kFallbackAtlasRow;
  const int block = static_cast<int>(id >> 4);
  if (block <= 5) return block;
  if (block == 10) return 6;
  if (block >= 15 && block <= 18) return block - 8;
  if (block >= 20 && block <= 23) return block - 9;
  if (block >= 25 && block <= 27) return block - 10;
  if (block >= 30 && block <= 33) return block - 11;
  if (block >= 35 && block <= 38) return block - 12;
  if (block >= 40 && block <= 43) return block - 13;
  if (block == 45) return 31;
  if (block >= 49 && block <= 52) return block - 48;
  if (block == 60) return 18;
  return kFallbackAtlasRow;
}

AtlasCell cellOf(std::uint32_t id) {
  return {static_cast<float>(id % 16) / 16.0f, static_cast<float>(atlasRow(id)) / 32.0f,
          1.0f / 16.0f, 1.0f / 32.0f};
}

PartCategory partCategory(std::uint32_t id) { return infoOf(id).category; }

std::uint32_t firstPartOf(PartCategory category) {
  return kCategories[static_cast<std::size_t>(category)].first;
}

int partNumber(std::uint32_t id) { return static_cast<int>(id - infoOf(id).first) + 1; }

bool isNamedPart(std::uint32_t id) {
  if (id >= kPartCount) return false;
  const int n = partNumber(id);
  switch (partCategory(id)) {
    case PartCategory::Characters:
      return n <= 86 || (n >= 161 && n <= 166);
    case PartCategory::BasicShapes:
      return n <= 52;
    case PartCategory::Lines:
    case PartCategory::Ink:
      return n <= 39;
    case PartCategory::Gradations:
      return n <= 37;
    case PartCategory::Fractals:
      return n <= 21;
    case PartCategory::Marks:
      return n <= 57;
    case PartCategory::Pictures:
      return n <= 10;
    case PartCategory::Other:
      return n <= 64 || (n >= 177 && n <= 186);
  }
  return false;
}

char16_t partLetter(std::uint32_t id) {
  if (id >= kPartCount || partCategory(id) != PartCategory::Characters) return 0;
  const int n = partNumber(id);
  if (n <= 26) return static_cast<char16_t>(64 + n);
  if (n <= 52) return static_cast<char16_t>(70 + n);
  if (n <= 62) return static_cast<char16_t>(n - 5);
  if (n >= 81 && n <= 86) return static_cast<char16_t>(n - 16);
  if (n >= 161 && n <= 166) return static_cast<char16_t>(n - 96);
  return 0;
}

std::u16string partLabel(std::uint32_t id) {
  if (id >= kPartCount) return {};
  std::u16string label;
  appendNumber(label, static_cast<int>(id) + 1, 4);
  label.push_back(u':');
  if (!isNamedPart(id)) return label;
  label += infoOf(id).word;
  appendNumber(label, partNumber(id), 3);
  if (const char16_t letter = partLetter(id)) {
    label.push_back(u' ');
    label.push_back(letter);
  }
  return label;
}

std::vector<std::u16string> partLabels() {
  std::vector<std::u16string> labels;
  labels.reserve(kPartCount);
  for (std::uint32_t id = 0; id < kPartCount; ++id) labels.push_back(partLabel(id));
  return labels;
}

}  // namespace orvane
