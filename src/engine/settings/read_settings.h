// The settings read from the texts of the main window's boxes, as the original design's
// GetParameters reads them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/settings/run_settings.h"

namespace evo {

// The largest population whose doubled pool of a generation still counts in 32 bits.
inline constexpr std::int32_t kLargestPopulation = 1073741823;

// The messages of a command refused for a box whose value cannot be held. Each says what the box
// accepts: a count is rounded to the nearest whole number first, so 2.5 is taken (as 2).
inline constexpr char kPopulationSizeRefused[] =
    "Population size must round to a whole number from -2147483648 to 1073741823.";
inline constexpr char kMutationCountRefused[] =
    "Absolute number mutations per cycle must round to a whole number from -2147483648 to "
    "2147483647.";
inline constexpr char kGoodFactorRefused[] =
    "Good Mutation Probability must be a number from -3.40282346638529E+38 to "
    "3.40282346638529E+38.";
inline constexpr char kGenerationCountRefused[] =
    "Number of Generations to run must round to a whole number from -32768 to 32767.";
inline constexpr char kStartValueRefused[] =
    "Starting Gene Value must begin with a digit from 1 to 8: type a value from 1 to 8.";

// The four numbers that a command loads: each text's numeric value, a count rounded to the
// nearest whole number (a tie to the even one), a probability and the number of generations in
// single precision. The starting gene value is not read (0), and the switches stand at their
// design-time state. Throws EngineError with the message of the first box whose value cannot be
// held.
RunSettings ReadSettings(const SettingTexts& texts);

// The gene a population is created of: the first character of the start text after its blanks.
// Throws EngineError unless it is a digit from 1 to 8: no other byte is a gene to start from.
char StartingGene(const std::string& startText);

}  // namespace evo
