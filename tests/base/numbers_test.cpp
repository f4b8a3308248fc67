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

}  // namespace
}  // namespace orvane
