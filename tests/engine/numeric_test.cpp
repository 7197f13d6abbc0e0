#include "engine/numeric.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "engine/simulation/simulation.h"
#include "support/named_rows.h"

namespace evo {
namespace {

using test::RowName;

// A number and its text, named for what the row shows.
struct Row {
  const char* name;
  std::string text;
  double value;
};

class NumericValueRows : public ::testing::TestWithParam<Row> {};

TEST_P(NumericValueRows, ReadsTheNumberAtTheStartOfTheText) {
  EXPECT_EQ(NumericValue(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, NumericValueRows,
    ::testing::Values(Row{"Whole", "100", 100}, Row{"LeadingBlank", " 50", 50},
                      Row{"BlankInside", "5 0", 50}, Row{"TabAndNewline", "\t7\n", 7},
                      Row{"LettersAfter", "12abc", 12}, Row{"CommaEnds", "1,000", 1},
                      Row{"Letters", "abc", 0}, Row{"Empty", "", 0}, Row{"Blanks", "   ", 0},
                      Row{"PointFirst", ".1", 0.1}, Row{"Negative", "-2.5", -2.5},
                      Row{"PlusSign", "+5", 5}, Row{"NegativePointFirst", "-.25", -0.25},
                      Row{"BlankAfterSign", "- 3", -3}, Row{"Exponent", "2e3", 2000},
                      Row{"NegativeExponent", "1E-2", 0.01}, Row{"BlanksInExponent", "1 e 2", 100},
                      Row{"ExponentWithoutDigits", "1e", 1},
                      Row{"ExponentSignWithoutDigits", "1e+", 1}, Row{"SecondPoint", "1.2.3", 1.2},
                      Row{"PointLast", "12.", 12}, Row{"PointAlone", ".", 0},
                      Row{"SignAlone", "-", 0}, Row{"HexPrefix", "0x10", 0},
                      Row{"Infinity", "inf", 0}, Row{"NotANumber", "nan", 0},
                      Row{"CarriageReturnInside", "12\r5", 12}, Row{"Underflow", "1e-999", 0},
                      Row{"FifteenDigitsBlanksAround", " 999999999999999\n", 999999999999999.0},
                      Row{"SixteenDigits", "1234567890123457", 1234567890123457.0},
                      Row{"SeventeenDigitsRounded", "12345678901234567", 12345678901234568.0},
                      Row{"TwentyFiveDigits", "1234567890123456789012345", 1.2345678901234568e24}),
    RowName());

// The counter's texts, which every generation reads and writes: each whole number back as itself,
// up to the largest written without an exponent, and a negative zero keeps its sign.
TEST(NumericValueTest, ReadsEveryCounterTextAsTheNumberWritten) {
  for (double n = 1; n < 1e15; n = n * 10 + 3) {
    for (const double x : {n, -n, n + 1, 10 * n - 1}) {
      if (std::fabs(x) >= 1e15) continue;
      EXPECT_EQ(NumericValue(NumberText(x)), x) << NumberText(x);
      EXPECT_EQ(NumberText(NumericValue(NumberText(x))), NumberText(x));
    }
  }
  EXPECT_TRUE(std::signbit(NumericValue("-0")));
  EXPECT_TRUE(std::signbit(NumericValue(" - 0")));
}

TEST(NumericValueTest, SaturatesBeyondTheRangeOfADouble) {
  EXPECT_EQ(NumericValue("1e999"), DBL_MAX);
  EXPECT_EQ(NumericValue("-1e999"), -DBL_MAX);
  EXPECT_EQ(NumberText(NumericValue("1e999")), " 1.79769313486232E+308");
}

class NumberTextRows : public ::testing::TestWithParam<Row> {};

// Each row's text is what the number is written as.
TEST_P(NumberTextRows, WritesASignPlaceAndNoNeedlessDigits) {
  EXPECT_EQ(NumberText(GetParam().value), GetParam().text) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, NumberTextRows,
    ::testing::Values(Row{"Whole", " 100", 100}, Row{"Fraction", " .9", 0.9},
                      Row{"NegativeFraction", "-.25", -0.25}, Row{"Zero", " 0", 0},
                      Row{"NegativeWhole", "-7", -7}, Row{"Half", " 4.5", 4.5},
                      Row{"Thousandths", " 5.001", 5.001},
                      Row{"Thirds", " 4.33333333333333", 13.0 / 3},
                      Row{"NegativeThirds", "-.666666666666667", -2.0 / 3},
                      Row{"RoundedDifference", " .1", 1 - 0.9},
                      Row{"SinglePrecisionTenth", " .100000001490116", double{0.1f}},
                      Row{"FifteenDigits", " 100000000000000", 1e14},
                      Row{"LargestWithoutExponent", " 999999999999999", 999999999999999.0},
                      Row{"TenThousandth", " .0001", 0.0001}),
    RowName());

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
