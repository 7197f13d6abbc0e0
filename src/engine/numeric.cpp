#include "engine/numeric.h"

#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace evo {
namespace {

bool IsSkipped(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The numeric prefix of a text with the skipped characters removed, in the plain form that
// strtod reads: [sign] digits [. digits] [e [sign] digits].
std::string NumericPrefix(std::string_view text) {
  std::string compact;
  for (char c : text) {
    if (!IsSkipped(c)) compact.push_back(c);
  }
  std::size_t i = 0;
  auto digitsFrom = [&](std::size_t at) {
    std::size_t end = at;
    while (end < compact.size() && IsDigit(compact[end])) ++end;
    return end;
  };
  if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) ++i;
  const std::size_t mantissaStart = i;
  i = digitsFrom(i);
  bool hasDigits = i > mantissaStart;
  if (i < compact.size() && compact[i] == '.') {
    const std::size_t fractionEnd = digitsFrom(i + 1);
    hasDigits = hasDigits || fractionEnd > i + 1;
    i = fractionEnd;
  }
  if (!hasDigits) return {};
  if (i < compact.size() && (compact[i] == 'E' || compact[i] == 'e')) {
    std::size_t j = i + 1;
    if (j < compact.size() && (compact[j] == '+' || compact[j] == '-')) ++j;
    const std::size_t exponentEnd = digitsFrom(j);
    if (exponentEnd > j) i = exponentEnd;
  }
  return compact.substr(0, i);
}

// strtod in the "C" locale, so that '.' is the decimal point whatever the user's locale.
double ParseInCLocale(const std::string& number) {
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  errno = 0;
  const double value = strtod_l(number.c_str(), nullptr, cLocale);
  if (std::isinf(value)) return std::copysign(std::numeric_limits<double>::max(), value);
  return value;
}

// Whole numbers of at most this many digits are doubles exactly, and so is every text of them.
constexpr std::size_t kExactDigits = 15;

// The value of a text that is a whole number of at most kExactDigits digits, with an optional
// sign and skipped characters only around it: the generation counter's text, which every
// generation reads and writes. strtod gives such a number exactly, so this is its value too, by
// far cheaper; none for any other text.
std::optional<double> PlainWholeNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsSkipped(text[i])) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  const std::size_t digitsStart = i;
  std::int64_t whole = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    // Past the digits it takes, the text goes the general way: no need to count them further.
    if (i - digitsStart < kExactDigits) whole = whole * 10 + (text[i] - '0');
  }
  const std::size_t digits = i - digitsStart;
  while (i < text.size() && IsSkipped(text[i])) ++i;
  if (digits == 0 || digits > kExactDigits || i != text.size()) return std::nullopt;
  const auto value = static_cast<double>(whole);
  return negative ? -value : value;  // "-0" is -0.0, as strtod reads it
}

template <typename Int>
std::optional<Int> RoundToInteger(double x) {
  const double rounded = std::nearbyint(x);  // the default rounding mode breaks ties to even
  if (!(rounded >= std::numeric_limits<Int>::min() && rounded <= std::numeric_limits<Int>::max())) {
    return std::nullopt;
  }
  return static_cast<Int>(rounded);
}

}  // namespace

double NumericValue(std::string_view text) {
  if (const auto whole = PlainWholeNumber(text)) return *whole;
  const std::string prefix = NumericPrefix(text);
  return prefix.empty() ? 0.0 : ParseInCLocale(prefix);
}

std::string NumberText(double x) {
  if (std::isnan(x)) return " NaN";
  if (std::isinf(x)) return x > 0 ? " Inf" : "-Inf";
  const std::string sign = x < 0 ? "-" : " ";
  if (x == 0) return " 0";
  // A whole number below 10^15 has its fifteen significant digits exactly, and the general way
  // below writes just its digits: so do they, without the cost of formatting a double.
  if (std::fabs(x) < 1e15 && x == std::trunc(x)) {
    char whole[kExactDigits + 1];
    const auto written =
        std::to_chars(whole, whole + sizeof whole, static_cast<std::int64_t>(std::fabs(x)));
    return sign + std::string(whole, written.ptr);
  }

  // Fifteen significant digits, already rounded: "d.dddddddddddddde±x".
  char scientific[32];
  std::snprintf(scientific, sizeof scientific, "%.14e", std::fabs(x));
  std::string digits{scientific[0]};
  digits.append(scientific + 2, 14);
  const int exponent = std::atoi(scientific + 17);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  if (exponent >= 15 || exponent < -4) {
    std::string mantissa = digits.substr(0, 1);
    if (digits.size() > 1) mantissa.append(".").append(digits, 1);
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    return sign + mantissa + exponentText;
  }
  if (exponent < 0) return sign + "." + std::string(-exponent - 1, '0') + digits;
  const std::size_t wholeDigits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= wholeDigits)
    return sign + digits + std::string(wholeDigits - digits.size(), '0');
  return sign + digits.substr(0, wholeDigits) + "." + digits.substr(wholeDigits);
}

std::optional<std::int32_t> RoundToInt32(double x) {
  return RoundToInteger<std::int32_t>(x);
}

std::optional<std::int16_t> RoundToInt16(double x) {
  return RoundToInteger<std::int16_t>(x);
}

std::optional<float> ToSingle(double x) {
  // Up to half a unit in the last place beyond the largest float, a value still rounds to it;
  // so does the bound that the refusal writes with 15 digits, 3.40282346638529E+38.
  constexpr double kBeyondFloats = FLT_MAX + 0x1p103;
  if (!(std::fabs(x) < kBeyondFloats)) return std::nullopt;
  return static_cast<float>(std::clamp(x, double{-FLT_MAX}, double{FLT_MAX}));
}

}  // namespace evo
