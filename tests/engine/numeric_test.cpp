#include "engine/numeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "engine/simulation/simulation.h"

namespace evo {
namespace {

TEST(NumericValueTest, ReadsTheNumberAtTheStartOfTheText) {
  const struct {
    std::string text;
    double value;
  } cases[] = {
      {"100", 100},    {" 50", 50},    {"5 0", 50},   {"\t7\n", 7},   {"12abc", 12},  {"1,000", 1},
      {"abc", 0},      {"", 0},        {"   ", 0},    {".1", 0.1},    {"-2.5", -2.5}, {"+5", 5},
      {"-.25", -0.25}, {"- 3", -3},    {"2e3", 2000}, {"1E-2", 0.01}, {"1 e 2", 100}, {"1e", 1},
      {"1e+", 1},      {"1.2.3", 1.2}, {"12.", 12},   {".", 0},       {"-", 0},       {"0x10", 0},
      {"inf", 0},      {"nan", 0},     {"12\r5", 12}, {"1e-999", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(NumericValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumericValueTest, SaturatesBeyondTheRangeOfADouble) {
  EXPECT_EQ(NumericValue("1e999"), DBL_MAX);
  EXPECT_EQ(NumericValue("-1e999"), -DBL_MAX);
  EXPECT_EQ(NumberText(NumericValue("1e999")), " 1.79769313486232E+308");
}

TEST(NumberTextTest, WritesASignPlaceAndNoNeedlessDigits) {
  const struct {
    double value;
    std::string text;
  } cases[] = {
      {100, " 100"},
      {0.9, " .9"},
      {-0.25, "-.25"},
      {0, " 0"},
      {-7, "-7"},
      {4.5, " 4.5"},
      {5.001, " 5.001"},
      {13.0 / 3, " 4.33333333333333"},
      {-2.0 / 3, "-.666666666666667"},
      {1 - 0.9, " .1"},
      {double{0.1f}, " .100000001490116"},
      {1e14, " 100000000000000"},
      {999999999999999.0, " 999999999999999"},
      {0.0001, " .0001"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberText(c.value), c.text) << c.value;
}

TEST(NumberTextTest, WritesLargeAndSmallMagnitudesInExponentForm) {
  EXPECT_EQ(NumberText(1e15), " 1E+15");
  EXPECT_EQ(NumberText(999999999999999.9), " 1E+15");  // rounded to 15 digits first
  EXPECT_EQ(NumberText(123456789012345678.0), " 1.23456789012346E+17");
  EXPECT_EQ(NumberText(-2.5e-5), "-2.5E-05");
  EXPECT_EQ(NumberText(0.00009999), " 9.999E-05");
  EXPECT_EQ(NumberText(1e-300), " 1E-300");
  EXPECT_EQ(NumberText(-DBL_MAX), "-1.79769313486232E+308");
}

TEST(NumberTextTest, IsReadBackAsTheSameNumberToFifteenDigits) {
  for (double x : {100.0, 0.9, -0.25, 13.0 / 3, 1e15, 2.5e-5, 123456789012345.0, -1e-300}) {
    const double back = NumericValue(NumberText(x));
    EXPECT_NEAR(back, x, std::fabs(x) * 1e-14) << NumberText(x);
  }
}

TEST(RoundingTest, GoesToTheNearestIntegerAndTiesToEven) {
  EXPECT_EQ(RoundToInt32(2.5), 2);
  EXPECT_EQ(RoundToInt32(3.5), 4);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(0.5), 0);
  EXPECT_EQ(RoundToInt32(-0.5), 0);
  EXPECT_EQ(RoundToInt32(2.4999), 2);
  EXPECT_EQ(RoundToInt32(-3.6), -4);
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(3.5), 4);
  EXPECT_EQ(RoundToInt16(-4.5), -4);
}

TEST(RoundingTest, IsEmptyWhenTheRoundedValueDoesNotFit) {
  EXPECT_EQ(RoundToInt32(2147483647.4), 2147483647);
  EXPECT_EQ(RoundToInt32(2147483647.5), std::nullopt);  // the tie goes to 2^31
  EXPECT_EQ(RoundToInt32(-2147483648.5), -2147483648);  // the tie goes to -2^31
  EXPECT_EQ(RoundToInt32(-2147483648.6), std::nullopt);
  EXPECT_EQ(RoundToInt32(1e12), std::nullopt);
  EXPECT_EQ(RoundToInt32(DBL_MAX), std::nullopt);
  EXPECT_EQ(RoundToInt32(std::numeric_limits<double>::quiet_NaN()), std::nullopt);

  EXPECT_EQ(RoundToInt16(32766.5), 32766);
  EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);
  EXPECT_EQ(RoundToInt16(-32769), std::nullopt);
  EXPECT_EQ(RoundToInt16(1e9), std::nullopt);
}

TEST(ToSingleTest, GoesToTheNearestFloatWithinRange) {
  EXPECT_EQ(ToSingle(0.1), 0.1f);
  EXPECT_EQ(ToSingle(1), 1.0f);
  EXPECT_EQ(ToSingle(FLT_MAX), FLT_MAX);
  EXPECT_EQ(ToSingle(-FLT_MAX), -FLT_MAX);
  EXPECT_EQ(ToSingle(3.40282346638529E+38), FLT_MAX);    // FLT_MAX written with 15 digits
  EXPECT_EQ(ToSingle(FLT_MAX + 0x1p103), std::nullopt);  // halfway to the next power rounds up
  EXPECT_EQ(ToSingle(1e-50), 0.0f);
  EXPECT_EQ(ToSingle(1e39), std::nullopt);
  EXPECT_EQ(ToSingle(-1e39), std::nullopt);
  EXPECT_EQ(ToSingle(DBL_MAX), std::nullopt);
}

TEST(GeneValueTest, AgreesWithTheNumericValueOfEveryCharacter) {
  for (int code = 0; code < 256; ++code) {
    const char c = static_cast<char>(code);
    EXPECT_EQ(GeneValue(c), NumericValue(std::string(1, c))) << "character code " << code;
  }
}

}  // namespace
}  // namespace evo
