// The definitions of BasicSimulation, for the stores it is instantiated with.
#pragma once

#include <array>
#include <cstring>

#include "engine/draw_ahead.h"
#include "engine/gene_summary.h"
#include "engine/numeric.h"
#include "engine/simulation.h"

namespace evo {

template <typename Store>
void BasicSimulation<Store>::Initialise() {
  state.StrCritter.assign(kGenes, ' ');
  state.Str2Critter.assign(kGenes, ' ');
  state.SngDenom = 95.0f;
  state.IntCreated = kFalse;
}

template <typename Store>
void BasicSimulation<Store>::GetParameters(ParameterUse use) {
  if (use == ParameterUse::ExistingPopulation) CheckFile();
  const auto critters = RoundToInt32(NumericValue(window_.BoxText(ParameterBox::PopSize)));
  if (!critters || *critters > kLargestPopulation) throw EngineError(kPopulationSizeRefused);
  const auto mutations = RoundToInt32(NumericValue(window_.BoxText(ParameterBox::MutateNum)));
  if (!mutations) throw EngineError(kMutationCountRefused);
  const auto goodFactor = ToSingle(NumericValue(window_.BoxText(ParameterBox::GoodFactor)));
  if (!goodFactor) throw EngineError(kGoodFactorRefused);
  const auto generations = ToSingle(NumericValue(window_.BoxText(ParameterBox::GenNum)));
  if (!generations) throw EngineError(kGenerationCountRefused);
  const std::int64_t written = file_.RecordsWrittenSinceOpen();
  if (use == ParameterUse::ExistingPopulation && state.IntCreated != kFalse &&
      *critters > written) {
    throw EngineError("Population size" + NumberText(*critters) + " is larger than the" +
                      NumberText(static_cast<double>(written)) +
                      " critters the population file holds: create a population of that size "
                      "first.");
  }
  state.IntHalt = kNoHalt;
  state.LngCritter = *critters;
  state.LngMutateNum = *mutations;
  state.SngGoodFactor = *goodFactor;
  state.SngGenNum = *generations;
  if (use == ParameterUse::ExistingPopulation && state.IntCreated != kFalse) {
    file_.SetRecordsInUse(state.LngCritter);
  }
}

template <typename Store>
void BasicSimulation<Store>::CreatePopulation() {
  const std::string startText = window_.BoxText(ParameterBox::StartNum);
  const std::size_t firstCharacter = startText.find_first_not_of(' ');
  if (firstCharacter == std::string::npos) throw EngineError(kStartValueRefused);
  GetParameters(ParameterUse::NewPopulation);
  ForgetFigures();
  window_.SetGenerationCounter("0");
  try {
    file_.Open(path_);
    state.StrCritter.assign(kGenes, startText[firstCharacter]);
    file_.Reserve(state.LngCritter);
    for (std::int64_t k = 1; k <= state.LngCritter; ++k) {
      file_.WriteRecord(k, state.StrCritter.data());
    }
    file_.SetRecordsInUse(state.LngCritter);
    file_.CheckIntact();
  } catch (const FileError&) {
    DropPopulation();
    throw;
  }
  state.IntCreated = kTrue;
  RecordFigures(RowEvent::Created);
}

template <typename Store>
double BasicSimulation<Store>::FineRandom() {
  const float fine = random_.Draw();
  const float coarse = random_.Draw();
  return FineFraction(fine, coarse);
}

// Brings record k of the store into the cache ahead of its use, where the store can.
template <typename Store>
void Prefetch(const Store& store, std::int64_t k) {
  if constexpr (requires { store.PrefetchRecord(k); }) store.PrefetchRecord(k);
}

// Every loop below takes its draws in exactly the order and number of a loop that draws as it
// goes, and reads and writes the same records in the same order: the draws of the coming steps
// only tell which records to fetch into the cache while the current step waits on its own. How
// many steps ahead pays best was measured with the benchmark.
inline constexpr std::size_t kMutationsAhead = 8;
inline constexpr std::size_t kOffspringAhead = 8;
inline constexpr std::size_t kExaminationsAhead = 20;

// Each mutation takes four draws: two for the record, one for the gene, one for good or bad.
template <typename Store>
void BasicSimulation<Store>::Scramble() {
  // With no critter there is no record to mutate: a pick would land outside the population.
  if (state.LngCritter < 1) return;
  const std::int32_t mutations = state.LngMutateNum;
  const std::int64_t critters = state.LngCritter;
  constexpr std::size_t kDraws = 4;
  DrawAhead draws(random_);
  for (std::int32_t i = 0; i < mutations; ++i) {
    if (draws.SeesAhead(kDraws * (kMutationsAhead + 1),
                        kDraws * static_cast<std::uint64_t>(mutations - i))) {
      Prefetch(file_, PickNear(critters, draws.Peek(kDraws * kMutationsAhead + 1)));
    }
    const std::int64_t k = draws.NextPick(critters);
    const float positionDraw = draws.Next();
    Mutate(k, positionDraw, draws.Next());
  }
}

template <typename Store>
void BasicSimulation<Store>::InsertMutations() {
  Scramble();
  CheckFile();
  RecordFigures(RowEvent::Mutations);
}

template <typename Store>
void BasicSimulation<Store>::Mutate(std::int64_t k, float positionDraw, float goodDraw) {
  std::string& genome = state.StrCritter;
  file_.ReadRecord(k, genome.data());
  const auto position = static_cast<std::size_t>(WholePart(double{positionDraw} * 10));
  char gene = static_cast<char>(genome[position] - 1);
  if (goodDraw <= state.SngGoodFactor) gene = static_cast<char>(gene + 2);
  if (gene == '0' - 1) gene = '0';
  if (gene == '9' + 1) gene = '9';
  genome[position] = gene;
  if (genome == kPerfect) state.IntHalt = kPerfectGenome;
  if (genome == kAllBad) state.IntHalt = kAllBadGenome;
  file_.WriteRecord(k, genome.data());
}

template <typename Store>
void BasicSimulation<Store>::NextGeneration() {
  CheckFile();
  if (window_.MutationOn()) {
    Scramble();
    // A pass that ran over a cut file must not lead to growing the file for the offspring.
    CheckFile();
  }
  if (state.IntHalt != kNoHalt) return;
  const std::int32_t n = state.LngCritter;
  Reproduce(n);
  Select(n);
  CheckFile();
  AdvanceCounter();
  RecordFigures(RowEvent::Generation);
  window_.Yield();
}

// Offspring i of N goes to record N + i, from a parent among the records 1 to N: two draws for
// the parent, two more for the second parent with exchange.
template <typename Store>
void BasicSimulation<Store>::Reproduce(std::int32_t n) {
  state.LngActual = n;
  const bool exchange = window_.SexOn();
  file_.Reserve(2 * std::int64_t{n});
  const std::size_t drawsEach = exchange ? 4 : 2;
  const std::size_t window = drawsEach * (kOffspringAhead + 1);
  DrawAhead draws(random_);
  Genome offspring{};
  Genome second{};
  for (std::int32_t i = 1; i <= n; ++i) {
    if (draws.SeesAhead(window, drawsEach * static_cast<std::uint64_t>(n - i + 1))) {
      const std::size_t ahead = drawsEach * kOffspringAhead;
      Prefetch(file_, PickNear(n, draws.Peek(ahead + 1)));
      if (exchange) Prefetch(file_, PickNear(n, draws.Peek(ahead + 3)));
    }
    file_.ReadRecord(draws.NextPick(n), offspring);
    if (exchange) {
      file_.ReadRecord(draws.NextPick(n), second);
      std::memcpy(offspring + 5, second + 5, 5);
    }
    file_.WriteRecord(std::int64_t{n} + i, offspring);
  }
  if (n >= 1) {
    state.StrCritter.assign(offspring, kGenes);
    if (exchange) state.Str2Critter.assign(second, kGenes);
    state.LngActual = 2 * n;
  }
}

// Culls the pool back to N: a dead critter's record takes the last record in use. Each
// examination takes three draws: two for the record, one for x.
template <typename Store>
void BasicSimulation<Store>::Select(std::int32_t n) {
  constexpr std::size_t kDraws = 3;
  constexpr std::size_t kWindow = kDraws * (kExaminationsAhead + 1);
  // The survival chance of every gene sum a genome can have, divided once instead of per
  // examination.
  std::array<double, kGenes * 9 + 1> chance;
  for (std::size_t sum = 0; sum < chance.size(); ++sum) {
    chance[sum] = static_cast<double>(static_cast<float>(sum)) / state.SngDenom;
  }
  std::int64_t inUse = state.LngActual;
  DrawAhead draws(random_);
  Genome genome{};
  int geneSum = -1;  // none examined yet
  while (inUse > n) {
    // Every examination removes at most one record, so at least inUse - N more will follow.
    if (draws.SeesAhead(kWindow, kDraws * static_cast<std::uint64_t>(inUse - n))) {
      // The record count may fall by a few before that examination: the pick lands within as
      // many records of this one, most often on the same cache line.
      Prefetch(file_, PickNear(inUse, draws.Peek(kDraws * kExaminationsAhead + 1)));
    }
    const std::int64_t k = draws.NextPick(inUse);
    file_.ReadRecord(k, genome);
    geneSum = 0;
    bool zeroGene = false;
    for (char gene : genome) {
      geneSum += GeneValue(gene);
      zeroGene |= gene == '0';
    }
    const float x = draws.Next();
    const bool dies = zeroGene || x >= chance[static_cast<std::size_t>(geneSum)];
    if (dies) {
      file_.ReadRecord(inUse, genome);
      file_.WriteRecord(k, genome);
      --inUse;
    }
  }
  if (geneSum >= 0) {
    state.StrCritter.assign(genome, kGenes);
    state.SngNum = static_cast<float>(geneSum);
  }
  state.LngActual = static_cast<std::int32_t>(inUse);
}

template <typename Store>
void BasicSimulation<Store>::AdvanceCounter() {
  window_.SetGenerationCounter(NumberText(NumericValue(window_.GenerationCounter()) + 1));
}

// Counted as the summary window counts it, over the population the engine works on. The
// options are read as the generation that just ended read them: they change only in a yield.
template <typename Store>
void BasicSimulation<Store>::RecordFigures(RowEvent event) {
  const GeneSummary figures = SummariseGenes(file_, state.LngCritter);
  if (event == RowEvent::Generation) history_.AddAfterGeneration(figures.average);
  if (event == RowEvent::Mutations) history_.AddAfterMutations(figures.average);
  const RunSettings settings{state.LngCritter, state.SngGoodFactor, state.LngMutateNum,
                             window_.SexOn(), window_.MutationOn()};
  record_.Add(event, settings, figures);
}

template <typename Store>
void BasicSimulation<Store>::ForgetFigures() {
  history_.Clear();
  record_.Clear();
}

template <typename Store>
void BasicSimulation<Store>::CheckFile() {
  if (state.IntCreated == kFalse) return;
  try {
    file_.CheckIntact();
  } catch (const FileError&) {
    DropPopulation();
    throw;
  }
}

template <typename Store>
void BasicSimulation<Store>::DropPopulation() {
  CloseFile();
  state.IntCreated = kFalse;
}

template <typename Store>
void BasicSimulation<Store>::ErasePopulation() {
  CloseAndDeleteFile();
  state.IntCreated = kFalse;
}

template <typename Store>
void BasicSimulation<Store>::CloseFile() {
  file_.Close();
  ForgetFigures();
}

template <typename Store>
void BasicSimulation<Store>::CloseAndDeleteFile() {
  file_.CloseAndDelete(path_);
  ForgetFigures();
}

}  // namespace evo
