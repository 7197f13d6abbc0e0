#include "engine/settings/read_settings.h"

#include "engine/engine_error.h"
#include "engine/numeric.h"

namespace evo {

RunSettings ReadSettings(const SettingTexts& texts) {
  const auto critters = RoundToInt32(NumericValue(texts.populationSize));
  if (!critters || *critters > kLargestPopulation)
    throw EngineError(UnreadableSetting{Setting::PopulationSize});
  const auto mutations = RoundToInt32(NumericValue(texts.mutationsPerCycle));
  if (!mutations) throw EngineError(UnreadableSetting{Setting::MutationsPerCycle});
  const auto goodFactor = ToSingle(NumericValue(texts.goodMutationProbability));
  if (!goodFactor) throw EngineError(UnreadableSetting{Setting::GoodMutationProbability});
  const auto generations = ToSingle(NumericValue(texts.generations));
  if (!generations) throw EngineError(UnreadableSetting{Setting::Generations});
  RunSettings settings;
  settings.populationSize = *critters;
  settings.goodMutationProbability = *goodFactor;
  settings.mutationsPerCycle = *mutations;
  settings.generations = *generations;
  return settings;
}

char StartingGene(const std::string& startText) {
  const std::size_t first = startText.find_first_not_of(' ');
  if (first == std::string::npos || startText[first] < '1' || startText[first] > '8') {
    throw EngineError(UnreadableSetting{Setting::StartingGeneValue});
  }
  return startText[first];
}

}  // namespace evo
