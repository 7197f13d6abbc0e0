#include "engine/settings/setting_ranges.h"

#include <cstdint>
#include <limits>

namespace evo {

SettingRange AcceptedRange(Setting setting) {
  switch (setting) {
    case Setting::PopulationSize:
      return {10, 1'000'000, true};
    case Setting::GoodMutationProbability:
      return {0, 1, false};
    case Setting::MutationsPerCycle:
      return {std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max(),
              true};
    case Setting::Generations:
      return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max(),
              true};
    case Setting::StartingGeneValue:
      return {1, 8, true};
  }
  return {0, 0, false};
}

std::optional<Setting> FirstRefused(const RunSettings& settings) {
  for (const Setting setting : {Setting::PopulationSize, Setting::GoodMutationProbability,
                                Setting::MutationsPerCycle, Setting::StartingGeneValue}) {
    if (!AcceptedRange(setting).Holds(ValueOf(settings, setting))) return setting;
  }
  return std::nullopt;
}

}  // namespace evo
