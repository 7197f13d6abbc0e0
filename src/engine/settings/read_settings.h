// The settings read from the texts of the main window's boxes, as the original design's
// GetParameters reads them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/settings/run_settings.h"

namespace evo {

// The largest population whose doubled pool of a generation still counts in 32 bits.
inline constexpr std::int32_t kLargestPopulation = 1073741823;

// The four numbers that a command loads: each text's numeric value, a count rounded to the
// nearest whole number (a tie to the even one), a probability and the number of generations in
// single precision. The starting gene value is not read (0), and the switches stand at their
// design-time state. Throws EngineError (UnreadableSetting) for the first box whose value cannot
// be held.
RunSettings ReadSettings(const SettingTexts& texts);

// The gene a population is created of: the first character of the start text after its blanks.
// Throws EngineError (UnreadableSetting) unless it is a digit from 1 to 8: no other byte is a gene
// to start from.
char StartingGene(const std::string& startText);

}  // namespace evo
