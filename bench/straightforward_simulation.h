// The mutation pass, the generation and the gene count as plainly as they can be written: one draw
// at a time from the random source, each record read when its step comes, each gene read byte by
// byte. The engine's loops must give exactly what these give (the same bytes, state and number
// of draws); the tests compare them and the benchmark measures the engine against them.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "engine/numeric.h"
#include "engine/record/gene_summary.h"
#include "engine/simulation/simulation.h"

namespace evo::reference {

// Runs the population of a simulation, with the same window and random source as it has.
template <typename Store>
class StraightforwardSimulation {
 public:
  StraightforwardSimulation(BasicSimulation<Store>& simulation, WindowPort& window,
                            RandomSource& random)
      : state_(simulation.state), file_(simulation.File()), window_(window), random_(random) {}

  void Scramble() {
    if (state_.LngCritter < 1) return;
    const std::int32_t mutations = state_.LngMutateNum;
    for (std::int32_t i = 0; i < mutations; ++i) Mutate(PickRecord(state_.LngCritter));
  }

  void NextGeneration(const Options& options) {
    if (options.autoMutation) Scramble();
    if (state_.IntHalt != kNoHalt) return;
    const std::int32_t n = state_.LngCritter;
    Reproduce(n, options.sexualExchange);
    Select(n);
    window_.SetGenerationCounter(NumberText(NumericValue(window_.GenerationCounter()) + 1));
    window_.Yield();
  }

 private:
  std::int64_t PickRecord(std::int64_t count) {
    const double fine = random_.Draw();
    const double coarse = random_.Draw();
    const double fraction = (std::floor(coarse * 1000000.0) + fine) / 1000000.0;
    return static_cast<std::int64_t>(std::floor(static_cast<double>(count) * fraction)) + 1;
  }

  void Mutate(std::int64_t k) {
    std::string& genome = state_.StrCritter;
    file_.ReadRecord(k, genome.data());
    const auto position = static_cast<std::size_t>(std::floor(double{random_.Draw()} * 10));
    char gene = static_cast<char>(genome[position] - 1);
    if (random_.Draw() <= state_.SngGoodFactor) gene = static_cast<char>(gene + 2);
    if (gene == '0' - 1) gene = '0';
    if (gene == '9' + 1) gene = '9';
    genome[position] = gene;
    if (genome == kPerfect) state_.IntHalt = kPerfectGenome;
    if (genome == kAllBad) state_.IntHalt = kAllBadGenome;
    file_.WriteRecord(k, genome.data());
  }

  void Reproduce(std::int32_t n, bool exchange) {
    state_.LngActual = n;
    file_.Reserve(2 * std::int64_t{n});
    for (std::int32_t i = 1; i <= n; ++i) {
      file_.ReadRecord(PickRecord(n), state_.StrCritter.data());
      if (exchange) {
        file_.ReadRecord(PickRecord(n), state_.Str2Critter.data());
        state_.StrCritter.replace(5, 5, state_.Str2Critter, 5, 5);
      }
      state_.LngActual = n + i;
      file_.WriteRecord(state_.LngActual, state_.StrCritter.data());
    }
  }

  void Select(std::int32_t n) {
    std::string& genome = state_.StrCritter;
    while (state_.LngActual > n) {
      const std::int64_t k = PickRecord(state_.LngActual);
      file_.ReadRecord(k, genome.data());
      state_.SngNum = 0;
      for (char gene : genome) state_.SngNum += static_cast<float>(GeneValue(gene));
      const float x = random_.Draw();
      const bool dies = genome.find('0') != std::string::npos ||
                        x >= static_cast<double>(state_.SngNum) / state_.SngDenom;
      if (dies) {
        file_.ReadRecord(state_.LngActual, genome.data());
        file_.WriteRecord(k, genome.data());
        --state_.LngActual;
      }
    }
  }

  SimulationState& state_;
  Store& file_;
  WindowPort& window_;
  RandomSource& random_;
};

// The gene count one byte at a time, each through the store's bounds check.
template <typename Store>
GeneSummary SummariseGenesByteByByte(const Store& store, std::int32_t populationSize) {
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

}  // namespace evo::reference
