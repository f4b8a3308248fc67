#include "base/utf.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(Utf, ConvertsBothWaysIncludingSurrogatePairs) {
  const std::string text = "A\xC3\xA9\xE5\x90\x8D\xF0\x9F\x98\x80";  // A é 名 😀
  const std::u16string wide = utf8ToUtf16(text);
  EXPECT_EQ(wide, u"Aé名\U0001F600");
  EXPECT_EQ(utf16ToUtf8(wide), text);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(utf8ToUtf16("a\x80z"), u"a\uFFFDz");          // stray continuation byte
  EXPECT_EQ(utf8ToUtf16("a\xE5\x90"), u"a\uFFFD");        // truncated sequence
  EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");    // overlong lead byte
  EXPECT_EQ(utf8ToUtf16("\xE0\x80\xAF"), u"\uFFFD");      // overlong three-byte form
  EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");      // encoded surrogate
  EXPECT_EQ(utf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD");  // beyond U+10FFFF
  EXPECT_EQ(utf16ToUtf8(u"x\xD800y"), "x\xEF\xBF\xBDy");  // unpaired high surrogate
  EXPECT_EQ(utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

TEST(Utf, CutsNeverSplitACharacter) {
  EXPECT_EQ(cutUtf16(u"ab\U0001F600", 3), u"ab");
  EXPECT_EQ(cutUtf16(u"ab\U0001F600", 4), u"ab\U0001F600");
  EXPECT_EQ(cutUtf16(u"abc", 10), u"abc");
  EXPECT_EQ(cutUtf8("a\xE5\x90\x8D", 3), "a");
  EXPECT_EQ(cutUtf8("a\xE5\x90\x8D", 4), "a\xE5\x90\x8D");
  EXPECT_EQ(cutUtf8("abc", 2), "ab");
}

}  // namespace
}  // namespace orvane
