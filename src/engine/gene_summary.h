// The gene counts and the average gene of a population, counted byte by byte.
#pragma once

#include <array>
#include <cstdint>

namespace evo {

struct GeneSummary {
  std::array<double, 10> counts{};  // counts[d]: genes with the character of digit d
  double average = 0;               // weighted sum over 10 * population size
};

// Reads each of the first 10 * populationSize bytes of the store once. A byte that is no digit
// is counted nowhere but still weighs in the divisor, so it lowers the average. A population
// size of 0 or less reads nothing and averages 0.
template <typename Store>
GeneSummary SummariseGenes(const Store& store, std::int32_t populationSize) {
  GeneSummary summary;
  if (populationSize <= 0) return summary;
  const double lastPosition = 10.0 * populationSize;
  for (double position = 1; position <= lastPosition; ++position) {
    const char gene = store.ReadByte(static_cast<std::int64_t>(position));
    if (gene >= '0' && gene <= '9') ++summary.counts[static_cast<std::size_t>(gene - '0')];
  }
  double weightedSum = 0;
  for (std::size_t d = 1; d <= 9; ++d) weightedSum = summary.counts[d] * d + weightedSum;
  summary.average = weightedSum / (static_cast<double>(populationSize) * 10);
  return summary;
}

}  // namespace evo
