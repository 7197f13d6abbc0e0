// The settings a population is made and run with: the main window's five boxes and its two
// switches, as texts and as the numbers the simulation holds.
#pragma once

#include <cstdint>
#include <string>

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

}  // namespace evo
