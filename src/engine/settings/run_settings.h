// The settings a population is made and run with: the main window's five boxes and its two
// switches, as texts and as the numbers the simulation holds.
#pragma once

#include <cstdint>
#include <string>

#include "engine/setting.h"

namespace evo {

// The switches "Sexual Exchange Status" and "Auto Mutation Insertion", ON at design time. A
// generation takes them as they stand.
struct Options {
  bool sexualExchange = true;
  bool autoMutation = true;

  bool operator==(const Options&) const = default;
};

// The texts of the parameter boxes, at their design-time texts unless set.
struct SettingTexts {
  std::string populationSize = "100";
  std::string goodMutationProbability = ".1";
  std::string mutationsPerCycle = "10";
  std::string generations = "50";
  std::string startingGeneValue = "7";
};

// The settings as numbers: what a command loads from the boxes (ReadSettings), what a population
// is created and each generation run with, what the record and repeated runs keep of a run.
struct RunSettings {
  std::int32_t populationSize = 0;
  float goodMutationProbability = 0;
  std::int32_t mutationsPerCycle = 0;
  float generations = 0;      // of a fixed-length run
  int startingGeneValue = 0;  // 1 to 8 once read; only creation reads it
  Options options;

  bool operator==(const RunSettings&) const = default;
};

// The setting by name as a number: what a comparison of runs varies, what a refusal names.
inline double ValueOf(const RunSettings& settings, Setting setting) {
  switch (setting) {
    case Setting::PopulationSize:
      return settings.populationSize;
    case Setting::GoodMutationProbability:
      return settings.goodMutationProbability;
    case Setting::MutationsPerCycle:
      return settings.mutationsPerCycle;
    case Setting::Generations:
      return settings.generations;
    case Setting::StartingGeneValue:
      return settings.startingGeneValue;
  }
  return 0;
}

// Sets the setting by name to value, which its field holds (a whole number for a count).
inline void SetValue(RunSettings& settings, Setting setting, double value) {
  switch (setting) {
    case Setting::PopulationSize:
      settings.populationSize = static_cast<std::int32_t>(value);
      break;
    case Setting::GoodMutationProbability:
      settings.goodMutationProbability = static_cast<float>(value);
      break;
    case Setting::MutationsPerCycle:
      settings.mutationsPerCycle = static_cast<std::int32_t>(value);
      break;
    case Setting::Generations:
      settings.generations = static_cast<float>(value);
      break;
    case Setting::StartingGeneValue:
      settings.startingGeneValue = static_cast<int>(value);
      break;
  }
}

}  // namespace evo
