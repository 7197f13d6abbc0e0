// Counting the digit characters among bytes, 32 bytes at a time where the processor allows: the
// gene counts of a population, and the check that its records hold nothing but genes.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace evo {

using DigitCounts = std::array<std::uint64_t, 10>;

// How many of the bytes are each of the digit characters '0' to '9'; other bytes count nowhere.
DigitCounts CountDigits(std::string_view bytes);

// Whether every one of the bytes is a digit character '0' to '9'.
bool AllDigits(std::string_view bytes);

}  // namespace evo
