// The definitions of BasicSimulation, for the stores it is instantiated with.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/draw_ahead.h"
#include "engine/gene_summary.h"
#include "engine/numeric.h"
#include "engine/simulation.h"

namespace evo {

template <RecordStore Store>
void BasicSimulation<Store>::Initialise() {
  state.StrCritter.assign(kGenes, ' ');
  state.Str2Critter.assign(kGenes, ' ');
  state.SngDenom = 95.0f;
  state.IntCreated = kFalse;
}

template <RecordStore Store>
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

template <RecordStore Store>
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

template <RecordStore Store>
double BasicSimulation<Store>::FineRandom() {
  const float fine = random_.Draw();
  const float coarse = random_.Draw();
  return FineFraction(fine, coarse);
}

// Brings records first to last of the store into the cache ahead of their use, where the store
// can.
template <RecordStore Store>
[[gnu::always_inline]] inline void Prefetch(const Store& store, std::int64_t first,
                                            std::int64_t last) {
  if constexpr (PrefetchingStore<Store>) store.PrefetchRecords(first, last);
}

// Every loop below takes its draws in exactly the order and number of a loop that draws as it
// goes, and reads and writes the same records in the same order: the draws of the coming steps
// only tell which records to fetch into the cache while the current step waits on its own. Each
// loop names the draws of one step once, in the order it takes them; a record pick is two draws,
// the fine one first. How many steps ahead pays best was measured with the benchmark.
inline constexpr std::size_t kMutationsAhead = 8;
inline constexpr std::size_t kOffspringAhead = 8;
inline constexpr std::size_t kExaminationsAhead = 32;

template <RecordStore Store>
void BasicSimulation<Store>::Scramble() {
  enum Draw : std::size_t { kRecord, kRecordCoarse, kGenePosition, kGoodOrBad, kDraws };
  // With no critter there is no record to mutate: a pick would land outside the population.
  if (state.LngCritter < 1) return;
  const std::int32_t mutations = state.LngMutateNum;
  const std::int64_t critters = state.LngCritter;
  StepDraws<kDraws, kMutationsAhead> draws(random_);
  for (std::int32_t i = 0; i < mutations; ++i) {
    if (draws.SeesAhead(static_cast<std::uint64_t>(mutations - i))) {
      const std::int64_t ahead = PickNear(critters, draws.Ahead() + kRecord);
      Prefetch(file_, ahead, ahead);
    }
    const float* step = draws.Take();
    Mutate(PickFrom(critters, step + kRecord), step[kGenePosition], step[kGoodOrBad]);
  }
}

template <RecordStore Store>
void BasicSimulation<Store>::InsertMutations() {
  Scramble();
  CheckFile();
  RecordFigures(RowEvent::Mutations);
}

template <RecordStore Store>
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

template <RecordStore Store>
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

// Offspring i of N goes to record N + i, from a parent among the records 1 to N.
template <RecordStore Store>
void BasicSimulation<Store>::Reproduce(std::int32_t n) {
  state.LngActual = n;
  file_.Reserve(2 * std::int64_t{n});
  if (window_.SexOn()) {
    ReproduceFrom<true>(n);
  } else {
    ReproduceFrom<false>(n);
  }
  if (n >= 1) state.LngActual = 2 * n;
}

template <RecordStore Store>
template <bool kExchange>
void BasicSimulation<Store>::ReproduceFrom(std::int32_t n) {
  // The second parent's pick only with exchange.
  enum Draw : std::size_t { kParent, kParentCoarse, kSecondParent, kSecondParentCoarse };
  constexpr std::size_t kDraws = kExchange ? kSecondParentCoarse + 1 : kParentCoarse + 1;
  StepDraws<kDraws, kOffspringAhead> draws(random_);
  Genome offspring{};
  Genome second{};
  for (std::int32_t i = 1; i <= n; ++i) {
    if (draws.SeesAhead(static_cast<std::uint64_t>(n - i + 1))) {
      const std::int64_t parent = PickNear(n, draws.Ahead() + kParent);
      Prefetch(file_, parent, parent);
      if constexpr (kExchange) {
        const std::int64_t secondParent = PickNear(n, draws.Ahead() + kSecondParent);
        Prefetch(file_, secondParent, secondParent);
      }
    }
    const float* step = draws.Take();
    file_.ReadRecord(PickFrom(n, step + kParent), offspring);
    if constexpr (kExchange) {
      file_.ReadRecord(PickFrom(n, step + kSecondParent), second);
      JoinHalves(offspring, second, offspring);
    }
    file_.WriteRecord(std::int64_t{n} + i, offspring);
  }
  if (n >= 1) {
    state.StrCritter.assign(offspring, kGenes);
    if constexpr (kExchange) state.Str2Critter.assign(second, kGenes);
  }
}

// The deaths among the coming examinations of selection, foreseen from their survival draws
// against the usual survival chance of the critters examined lately: the record count that an
// examination kAhead on will find is the count now less the deaths before it.
template <std::size_t kAhead>
class DeathForecast {
 public:
  // The deaths foreseen among the next kAhead examinations.
  std::int64_t Deaths() const { return deaths_; }

  // Foresees the examination kAhead after the next one from its survival draw.
  void Foresee(float survivalDraw) { Set(survivalDraw >= usualChance_); }
  // An examination that will not come, or whose draw is not in sight: no death foreseen.
  void ForeseeNone() { Set(false); }

  // The next examination has been made, of a critter with the given survival chance.
  void Examined(double chance) {
    deaths_ -= dies_[next_];
    dies_[next_] = false;
    next_ = next_ == kAhead ? 0 : next_ + 1;
    chanceSum_ += chance;
    if (++examined_ == kBlock) {
      usualChance_ = chanceSum_ / kBlock;
      chanceSum_ = 0;
      examined_ = 0;
    }
  }

 private:
  static constexpr int kBlock = 128;  // examinations of which the usual chance is the mean

  // The slot of the examination kAhead after the next one, free since the one before the next
  // was made.
  void Set(bool dies) {
    dies_[next_ == 0 ? kAhead : next_ - 1] = dies;
    deaths_ += dies;
  }

  // The forecast of the next kAhead + 1 examinations, the next one at next_.
  std::array<bool, kAhead + 1> dies_{};
  std::size_t next_ = 0;
  std::int64_t deaths_ = 0;
  double usualChance_ = 1;  // none foreseen to die before the first block is examined
  double chanceSum_ = 0;
  int examined_ = 0;
};

// Culls the pool back to N: a dead critter's record takes the last record in use.
template <RecordStore Store>
void BasicSimulation<Store>::Select(std::int32_t n) {
  enum Draw : std::size_t { kRecord, kRecordCoarse, kSurvival, kDraws };
  // The fetch of an examination ahead aims at its pick among the record count foreseen for it,
  // with the fine draw (which moves a pick among two million records by up to two), and takes the
  // records on either side, where one death foreseen wrongly moves the pick.
  constexpr std::int64_t kAimSpread = 1;
  // The survival chance of every gene sum a genome can have, divided once instead of per
  // examination.
  std::array<double, kGenes * 9 + 1> chance;
  for (std::size_t sum = 0; sum < chance.size(); ++sum) {
    chance[sum] = static_cast<double>(static_cast<float>(sum)) / state.SngDenom;
  }
  std::int64_t inUse = state.LngActual;
  StepDraws<kDraws, kExaminationsAhead> draws(random_);
  DeathForecast<kExaminationsAhead> forecast;
  constexpr std::int64_t kUnknown = 0;  // the next pick, before its draws are in sight
  std::int64_t k = kUnknown;
  Genome genome{};
  Examination examined{-1, false};  // none yet
  while (inUse > n) {
    // Every examination removes at most one record, so at least inUse - N more will follow.
    if (draws.SeesAhead(static_cast<std::uint64_t>(inUse - n))) {
      const float* ahead = draws.Ahead();
      const std::int64_t aim = PickFrom(inUse - forecast.Deaths(), ahead + kRecord);
      Prefetch(file_, aim - kAimSpread, aim + kAimSpread);
      forecast.Foresee(ahead[kSurvival]);
    } else {
      forecast.ForeseeNone();
    }
    const float* step = draws.Take();
    if (k == kUnknown) k = PickFrom(inUse, step + kRecord);
    file_.ReadRecord(k, genome);
    examined = Examine(genome);
    const double survival =
        examined.zeroGene ? 0 : chance[static_cast<std::size_t>(examined.geneSum)];
    // The next examination's pick for either outcome of this one, worked out while the outcome
    // is pending, so that when it was guessed wrong the next read need not wait for the pick.
    std::int64_t ifSurvives = kUnknown;
    std::int64_t ifDies = kUnknown;
    if (const float* following = draws.PeekNext()) {
      const double fraction = PickFraction(following + kRecord);
      ifSurvives = PickAt(inUse, fraction);
      ifDies = PickAt(inUse - 1, fraction);
    }
    if (step[kSurvival] >= survival) {
      file_.ReadRecord(inUse, genome);
      file_.WriteRecord(k, genome);
      --inUse;
      k = ifDies;
    } else {
      k = ifSurvives;
    }
    forecast.Examined(survival);
  }
  if (examined.geneSum >= 0) {
    state.StrCritter.assign(genome, kGenes);
    state.SngNum = static_cast<float>(examined.geneSum);
  }
  state.LngActual = static_cast<std::int32_t>(inUse);
}

template <RecordStore Store>
void BasicSimulation<Store>::AdvanceCounter() {
  window_.SetGenerationCounter(NumberText(NumericValue(window_.GenerationCounter()) + 1));
}

// Counted as the summary window counts it, over the population the engine works on. The
// options are read as the generation that just ended read them: they change only in a yield.
template <RecordStore Store>
void BasicSimulation<Store>::RecordFigures(RowEvent event) {
  const GeneSummary figures = SummariseGenes(file_, state.LngCritter);
  if (event == RowEvent::Generation) history_.AddAfterGeneration(figures.average);
  if (event == RowEvent::Mutations) history_.AddAfterMutations(figures.average);
  const RunSettings settings{state.LngCritter, state.SngGoodFactor, state.LngMutateNum,
                             window_.SexOn(), window_.MutationOn()};
  record_.Add(event, settings, figures);
}

template <RecordStore Store>
void BasicSimulation<Store>::ForgetFigures() {
  history_.Clear();
  record_.Clear();
}

template <RecordStore Store>
void BasicSimulation<Store>::CheckFile() {
  if (state.IntCreated == kFalse) return;
  try {
    file_.CheckIntact();
  } catch (const FileError&) {
    DropPopulation();
    throw;
  }
}

template <RecordStore Store>
void BasicSimulation<Store>::DropPopulation() {
  CloseFile();
  state.IntCreated = kFalse;
}

template <RecordStore Store>
void BasicSimulation<Store>::ErasePopulation() {
  CloseAndDeleteFile();
  state.IntCreated = kFalse;
}

template <RecordStore Store>
void BasicSimulation<Store>::CloseFile() {
  file_.Close();
  ForgetFigures();
}

template <RecordStore Store>
void BasicSimulation<Store>::CloseAndDeleteFile() {
  file_.CloseAndDelete(path_);
  ForgetFigures();
}

}  // namespace evo
