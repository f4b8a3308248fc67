#include "app/shell/number_field.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvane {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(NumberField, LeadingDigitsWithTheirSign) {
  EXPECT_EQ(numberFieldValue("192"), 192);
  EXPECT_EQ(numberFieldValue("-12"), -12);
  EXPECT_EQ(numberFieldValue("+7"), 7);
  EXPECT_EQ(numberFieldValue("  42"), 42);
  EXPECT_EQ(numberFieldValue("12abc"), 12);
  EXPECT_EQ(numberFieldValue("3.9"), 3);
  // Pasted lines: the first number counts.
  EXPECT_EQ(numberFieldValue("12\n34"), 12);
  EXPECT_EQ(numberFieldValue("\n-5\r\n6"), -5);
}

TEST(NumberField, TextWithoutDigitsIsZero) {
  for (const char* text : {"", "-", "+", "abc", "- 5", "--1", "０１２"}) {
    EXPECT_EQ(numberFieldValue(text), 0) << text;
  }
}

TEST(NumberField, HugeNumbersAreHeldToThe32BitRange) {
  EXPECT_EQ(numberFieldValue("2147483647"), kMax);
  EXPECT_EQ(numberFieldValue("2147483648"), kMax);
  EXPECT_EQ(numberFieldValue("99999999999999999999999999"), kMax);
  EXPECT_EQ(numberFieldValue("-2147483648"), kMin);
  EXPECT_EQ(numberFieldValue("-99999999999999999999999999"), kMin);
}

TEST(NumberField, ShownTextReadsBackAsTheValue) {
  for (std::int32_t value : {0, 1, -1, 192, -128, kMax, kMin}) {
    EXPECT_EQ(numberFieldValue(numberFieldText(value)), value) << value;
  }
  EXPECT_EQ(numberFieldText(-12), "-12");
}

}  // namespace
}  // namespace orvane
