// The settings of the main window by name, for what is said of one of them.
#pragma once

namespace evo {

enum class Setting {
  PopulationSize,
  GoodMutationProbability,
  MutationsPerCycle,
  Generations,
  StartingGeneValue
};

}  // namespace evo
