// The gene counts and the average gene of a population, counted over the bytes of its store.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "engine/digits.h"

namespace evo {

struct GeneSummary {
  std::array<double, 10> counts{};  // counts[d]: genes with the character of digit d
  double average = 0;               // weighted sum over 10 * population size
};

// Counts the first 10 * populationSize bytes of the store, those that it holds: positions past
// its end are no gene and are not visited, however large the size. A byte that is no digit is
// counted nowhere but still weighs in the divisor, so it lowers the average, and so does every
// position past the end. A population size of 0 or less counts nothing and averages 0.
template <typename Store>
GeneSummary SummariseGenes(const Store& store, std::int32_t populationSize) {
  GeneSummary summary;
  if (populationSize <= 0) return summary;
  const std::string_view bytes = store.Bytes();
  const auto wanted = static_cast<std::size_t>(populationSize) * 10;
  const DigitCounts counts = CountDigits(bytes.substr(0, std::min(wanted, bytes.size())));
  std::copy(counts.begin(), counts.end(), summary.counts.begin());
  double weightedSum = 0;
  for (std::size_t d = 1; d <= 9; ++d) weightedSum = summary.counts[d] * d + weightedSum;
  summary.average = weightedSum / (static_cast<double>(populationSize) * 10);
  return summary;
}

}  // namespace evo
