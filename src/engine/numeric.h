// Conversions between the texts of the window and the numbers of the simulation.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace evo {

// The number written at the start of a text. Blanks, tabs and line feeds are skipped wherever
// they stand ("5 0" reads 50); then an optional sign, digits with at most one '.', and an
// optional exponent (E or e, a sign, digits) are read up to the first character that does not
// fit. A text that does not start with a number gives 0. A magnitude beyond the range of a
// double saturates at the largest finite double of that sign, so no infinity ever leaves here.
double NumericValue(std::string_view text);

// The text of a number: a leading blank for a non-negative number, '-' for a negative one; at
// most 15 significant digits, no trailing zeros and no 0 before the point of a fraction
// (" 100", " .9", "-.25"). Magnitudes of 1E+15 and more, or below .0001, are written in
// exponent form: " 1E+15", " 2.5E-05", "-1.79769313486232E+308".
std::string NumberText(double x);

// Conversions to the integer types of the simulation: to the nearest integer, a tie to the
// even neighbour (2.5 gives 2, 3.5 gives 4). Empty when the rounded value does not fit.
std::optional<std::int32_t> RoundToInt32(double x);
std::optional<std::int16_t> RoundToInt16(double x);

// Conversion to single precision, to the nearest representable value. Empty when that would be
// beyond the largest float.
std::optional<float> ToSingle(double x);

}  // namespace evo
