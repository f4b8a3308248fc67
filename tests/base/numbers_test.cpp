#include "base/numbers.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace orvane {
namespace {

TEST(Numbers, GeneralFormatMatchesPrintfInTheCLocale) {
  for (double value : {0.0, 1.0, 128.0 / 255, 3.0 / 255, 1e-7, 123456789.0, -2.5, 100000.0,
                       1234567.0, 0.0001, 0.00001}) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%g", value);
    EXPECT_EQ(formatGeneral(value), expected) << value;
  }
  EXPECT_EQ(formatGeneral(128.0 / 255), "0.501961");
  EXPECT_EQ(formatInt(-2147483648LL), "-2147483648");
}

TEST(Numbers, ScanUint64KeepsEveryDigitAndRefusesAnythingElse) {
  EXPECT_EQ(scanUint64("0"), 0u);
  EXPECT_EQ(scanUint64("18446744073709551615"), 18446744073709551615u);
  // Above 2^53 a double would round these two to one value.
  EXPECT_EQ(scanUint64("9007199254740993"), 9007199254740993u);
  EXPECT_NE(scanUint64("9007199254740993"), scanUint64("9007199254740992"));
  for (const char* bad : {"", "18446744073709551616", "-1", "+1", " 1", "1 ", "1e3", "0x10"}) {
    EXPECT_FALSE(scanUint64(bad)) << bad;
  }
}

TEST(Numbers, ScanIntBehavesLikeScanfAndSaturates) {
  EXPECT_EQ(scanInt("42"), 42);
  EXPECT_EQ(scanInt("  -7xyz"), -7);
  EXPECT_EQ(scanInt("+3"), 3);
  EXPECT_EQ(scanInt("99999999999"), 2147483647);
  EXPECT_EQ(scanInt("-99999999999"), -2147483647 - 1);
  EXPECT_FALSE(scanInt(""));
  EXPECT_FALSE(scanInt("x1"));
  EXPECT_FALSE(scanInt("-"));
}

TEST(Numbers, ScanDoubleReadsPointsNotCommas) {
  EXPECT_EQ(scanDouble("0.501961"), 0.501961);
  EXPECT_EQ(scanDouble(" +1e-3"), 1e-3);
  EXPECT_EQ(scanDouble("0,5"), 0.0);  // stops at the comma as scanf does in "C"
  EXPECT_FALSE(scanDouble("abc"));
  EXPECT_FALSE(scanDouble(""));
  EXPECT_FALSE(scanDouble("+-1"));
}

TEST(Numbers, CommandLineNumbersMustBeTheWholeText) {
  EXPECT_EQ(parseWholeNumber("42"), 42);
  EXPECT_EQ(parseWholeNumber("-7"), -7);
  EXPECT_EQ(parseWholeNumber("9223372036854775807"), 9223372036854775807);
  for (const char* bad : {"", "-", "5abc", "1e3", "1,5", " 1", "1 ", "+1", "0x10", "--1",
                          "9223372036854775808", "4294967296x"}) {
    EXPECT_FALSE(parseWholeNumber(bad)) << bad;
  }
  EXPECT_EQ(parseDecimalNumber("0.5"), 0.5);
  EXPECT_EQ(parseDecimalNumber("-2"), -2.0);
  EXPECT_EQ(parseDecimalNumber("1e3"), 1000.0);
  EXPECT_EQ(parseDecimalNumber(".25"), 0.25);
  for (const char* bad : {"", "4q", "1,5", "0.5xyz", "inf", "-inf", "nan", "infinity", "1e999",
                          " 1", "1 ", "+1", "0x1p3", "."}) {
    EXPECT_FALSE(parseDecimalNumber(bad)) << bad;
  }
}

}  // namespace
}  // namespace orvane
