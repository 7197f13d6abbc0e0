// The definitions of BasicSimulation, for the stores it is instantiated with.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "engine/numeric.h"
#include "engine/record/gene_summary.h"
#include "engine/simulation/draw_ahead.h"
#include "engine/simulation/pool_records.h"
#include "engine/simulation/simulation.h"
#include "engine/simulation/survival.h"

namespace evo {

template <RecordStore Store>
void BasicSimulation<Store>::Initialise() {
  state.StrCritter.assign(kGenes, ' ');
  state.Str2Critter.assign(kGenes, ' ');
  state.SngDenom = 95.0f;
  state.IntCreated = kFalse;
}

template <RecordStore Store>
void BasicSimulation<Store>::GetParameters(const SettingTexts& texts, ParameterUse use) {
  if (use == ParameterUse::ExistingPopulation) CheckFile();
  LoadParameters(ReadSettings(texts), use);
}

template <RecordStore Store>
void BasicSimulation<Store>::LoadParameters(const RunSettings& parameters, ParameterUse use) {
  const std::int64_t written = file_.RecordsWrittenSinceOpen();
  const bool existing = use == ParameterUse::ExistingPopulation && state.IntCreated != kFalse;
  if (existing && parameters.populationSize > written) {
    throw EngineError(PopulationBeyondFile{parameters.populationSize, written});
  }
  state.IntHalt = kNoHalt;
  state.LngCritter = parameters.populationSize;
  state.LngMutateNum = parameters.mutationsPerCycle;
  state.SngGoodFactor = parameters.goodMutationProbability;
  state.SngGenNum = parameters.generations;
  if (existing) file_.SetRecordsInUse(state.LngCritter);
}

template <RecordStore Store>
void BasicSimulation<Store>::CreatePopulation(const SettingTexts& texts, const Options& options) {
  const char gene = StartingGene(texts.startingGeneValue);
  RunSettings settings = ReadSettings(texts);
  settings.startingGeneValue = gene - '0';
  settings.options = options;
  CreatePopulation(settings);
}

template <RecordStore Store>
void BasicSimulation<Store>::CreatePopulation(const RunSettings& settings) {
  if (settings.startingGeneValue < 1 || settings.startingGeneValue > 8) {
    throw EngineError(UnreadableSetting{Setting::StartingGeneValue});
  }
  LoadParameters(settings, ParameterUse::NewPopulation);
  ForgetFigures();
  window_.SetGenerationCounter("0");
  try {
    file_.Open(path_);
    state.StrCritter.assign(kGenes, static_cast<char>('0' + settings.startingGeneValue));
    startingGeneValue_ = settings.startingGeneValue;
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
  RecordFigures(RowEvent::Created, settings.options);
}

template <RecordStore Store>
double BasicSimulation<Store>::FineRandom() {
  const float fine = random_.Draw();
  const float coarse = random_.Draw();
  return FineFraction(fine, coarse);
}

// Every loop below takes its draws in exactly the order and number of a loop that draws as it
// goes, and reads and writes the same records in the same order: the draws of the coming steps
// only tell which records to fetch into the cache while the current step waits on its own. Each
// loop names the draws of one step once, in the order it takes them; a record pick is two draws,
// the fine one first. How many steps ahead pays best was measured with the benchmark.
inline constexpr std::size_t kMutationsAhead = 8;
inline constexpr std::size_t kOffspringAhead = 8;
inline constexpr std::size_t kExaminationsAhead = 32;
// A pool of at most this many bytes lies in the caches next to the core, where fetching ahead only
// costs the work of aiming: its loops do without. Measured with the benchmark on this program's
// test machine (1 MiB of second-level cache a core): a selection of 15 000 critters (300 kB) was
// faster without, one of 17 500 (350 kB) with.
inline constexpr std::int64_t kPoolBytesInCache = 256 * 1024;

inline bool LiesInCache(std::int64_t records) {
  return records * std::int64_t{kGenes} <= kPoolBytesInCache;
}

template <RecordStore Store>
void BasicSimulation<Store>::Scramble() {
  // With no critter there is no record to mutate: a pick would land outside the population.
  if (state.LngCritter < 1) return;
  const std::int64_t critters = state.LngCritter;
  WithPoolRecords(critters, [&](auto records) {
    if (LiesInCache(critters)) {
      MutateFrom<0>(records, critters);
    } else {
      MutateFrom<kMutationsAhead>(records, critters);
    }
  });
}

template <RecordStore Store>
template <std::size_t kAhead, typename Records>
void BasicSimulation<Store>::MutateFrom(Records records, std::int64_t critters) {
  // A record pick, then the gene position and whether the mutation is good.
  enum Draw : std::size_t { kGenePosition, kGoodOrBad };
  const std::int32_t mutations = state.LngMutateNum;
  StepDraws<1, 2, kAhead> draws(random_);
  for (std::int32_t i = 0; i < mutations;) {
    const std::size_t block = draws.NextBlock(static_cast<std::uint64_t>(mutations - i));
    StopIfAsked();
    for (std::size_t j = 0; j < block; ++j, ++i) {
      if constexpr (kAhead > 0) {
        const std::int64_t ahead = PickAt(critters, draws.Pick(j + kAhead, 0));
        records.Prefetch(ahead, ahead);
      }
      Mutate(PickAt(critters, draws.Pick(j, 0)), draws.Draw(j, kGenePosition),
             draws.Draw(j, kGoodOrBad));
    }
  }
}

template <RecordStore Store>
void BasicSimulation<Store>::InsertMutations(const Options& options) {
  Scramble();
  CheckFile();
  RecordFigures(RowEvent::Mutations, options);
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
void BasicSimulation<Store>::NextGeneration(const Options& options) {
  CheckFile();
  if (options.autoMutation) {
    Scramble();
    // A pass that ran over a cut file must not lead to growing the file for the offspring.
    CheckFile();
    if (state.IntHalt != kNoHalt && state.LngMutateNum > 0) {
      RecordFigures(RowEvent::Mutations, options);
    }
  }
  if (state.IntHalt != kNoHalt) return;
  const std::int32_t n = state.LngCritter;
  Reproduce(n, options.sexualExchange);
  WithPoolRecords(state.LngActual, [this, n](auto records) {
    if (!LiesInCache(state.LngActual)) return Select<kExaminationsAhead>(records, n);
    if constexpr (std::is_same_v<decltype(records), MarkedInPlaceRecords>) {
      SelectWithinBounds(records, n);
    } else {
      Select<0>(records, n);
    }
  });
  CheckFile();
  AdvanceCounter();
  RecordFigures(RowEvent::Generation, options);
  window_.Yield();
}

// Offspring i of N goes to record N + i, from a parent among the records 1 to N.
template <RecordStore Store>
void BasicSimulation<Store>::Reproduce(std::int32_t n, bool exchange) {
  state.LngActual = n;
  file_.Reserve(2 * std::int64_t{n});
  WithPoolRecords(2 * std::int64_t{n}, [this, n, exchange](auto records) {
    const bool inCache = LiesInCache(2 * std::int64_t{n});
    if (exchange) {
      inCache ? ReproduceFrom<true, 0>(records, n)
              : ReproduceFrom<true, kOffspringAhead>(records, n);
    } else {
      inCache ? ReproduceFrom<false, 0>(records, n)
              : ReproduceFrom<false, kOffspringAhead>(records, n);
    }
  });
  if (n >= 1) state.LngActual = 2 * n;
}

template <RecordStore Store>
template <typename Body>
void BasicSimulation<Store>::WithPoolRecords(std::int64_t poolSize, Body body) {
  if constexpr (MarkedStore<Store>) {
    const MarkedRecordsInPlace held = file_.RecordsAndMarksInPlace(poolSize);
    if (held.records != nullptr) return body(MarkedInPlaceRecords(held));
  } else if constexpr (InPlaceStore<Store>) {
    if (char* records = file_.RecordsInPlace(poolSize)) return body(InPlaceRecords(records));
  }
  body(StoreRecords<Store>(file_));
}

template <RecordStore Store>
template <bool kExchange, std::size_t kAhead, typename Records>
void BasicSimulation<Store>::ReproduceFrom(Records records, std::int32_t n) {
  // The second parent's pick only with exchange.
  enum Pick : std::size_t { kParent, kSecondParent };
  StepDraws<kExchange ? 2 : 1, 0, kAhead> draws(random_);
  std::int64_t secondParent = 0;
  for (std::int32_t i = 1; i <= n;) {
    const std::size_t block = draws.NextBlock(static_cast<std::uint64_t>(n - i + 1));
    StopIfAsked();
    for (std::size_t j = 0; j < block; ++j, ++i) {
      if constexpr (kAhead > 0) {
        const std::int64_t parentAhead = PickAt(n, draws.Pick(j + kAhead, kParent));
        records.Prefetch(parentAhead, parentAhead);
        if constexpr (kExchange) {
          const std::int64_t secondAhead = PickAt(n, draws.Pick(j + kAhead, kSecondParent));
          records.Prefetch(secondAhead, secondAhead);
        }
      }
      const std::int64_t parent = PickAt(n, draws.Pick(j, kParent));
      if constexpr (kExchange) {
        secondParent = PickAt(n, draws.Pick(j, kSecondParent));
        records.Join(parent, secondParent, std::int64_t{n} + i);
      } else {
        records.Copy(parent, std::int64_t{n} + i);
      }
    }
  }
  if (n >= 1) {
    // The genome buffers end up holding the last offspring and its second parent.
    records.Read(2 * std::int64_t{n}, state.StrCritter.data());
    if constexpr (kExchange) records.Read(secondParent, state.Str2Critter.data());
  }
}

// Culls the pool back to N: a dead critter's record takes the last record in use.
template <RecordStore Store>
template <std::size_t kAhead, typename Records>
void BasicSimulation<Store>::Select(Records records, std::int32_t n) {
  // A record pick, then the survival draw.
  enum Draw : std::size_t { kSurvival };
  // The fetch of an examination ahead aims at its pick among the record count foreseen for it,
  // and takes the records on either side, where one death foreseen wrongly moves the pick.
  constexpr std::int64_t kAimSpread = 1;
  const SurvivalTest& survival = Survival();
  std::int64_t inUse = state.LngActual;
  StepDraws<1, 1, kAhead> draws(random_);
  DeathForecast forecast;
  std::int64_t examined = 0;  // the record examined last; none yet
  Examination lastExamination;
  while (inUse > n) {
    // Every examination removes at most one record, so at least inUse - N more will follow.
    const std::size_t block = draws.NextBlock(static_cast<std::uint64_t>(inUse - n));
    StopIfAsked();
    forecast.Foresee(draws, kSurvival, block + kAhead);
    std::int64_t k = PickAt(inUse, draws.Pick(0, 0));
    for (std::size_t j = 0; j < block; ++j) {
      if constexpr (kAhead > 0) {
        const std::int64_t aim =
            PickAt(inUse - forecast.DeathsBetween(j, j + kAhead), draws.Pick(j + kAhead, 0));
        records.Prefetch(aim - kAimSpread, aim + kAimSpread);
      }
      lastExamination = records.Examine(k);
      const float threshold = survival.Threshold(lastExamination);
      forecast.Met(threshold);
      // The next examination's pick for either outcome of this one, worked out while the
      // outcome is pending, so that when it was guessed wrong the next read need not wait.
      const double following = draws.Pick(j + 1, 0);
      const std::int64_t ifSurvives = PickAt(inUse, following);
      const std::int64_t ifDies = PickAt(inUse - 1, following);
      examined = k;
      const auto die = [&] {
        records.Copy(inUse, k);
        --inUse;
        k = ifDies;
      };
      const auto survive = [&] { k = ifSurvives; };
      // The outcome as foreseen is known long before the record is in: a branch on it that the
      // processor guesses wrong costs less than a wrong guess of the outcome itself, which then
      // seldom differs from it.
      const bool dies = draws.Draw(j, kSurvival) >= threshold;
      if (forecast.Dies(j)) {
        if (dies) [[likely]] {
          die();
        } else {
          survive();
        }
      } else {
        if (dies) [[unlikely]] {
          die();
        } else {
          survive();
        }
      }
    }
    forecast.Learn(block);
  }
  EndSelection(records, examined, lastExamination, inUse);
}

// The marks bound every critter's chance before any is examined: a survival draw below the least
// threshold in the pool lets the critter live whichever record it picks, and then nothing
// changes. So each block first sorts out, without a branch, the steps whose draw may kill, and
// only those pick and examine a record; in a population where every critter is near the best,
// most steps need neither. A death only moves a record and drops another, so the bound holds to
// the end of selection.
template <RecordStore Store>
template <typename Records>
void BasicSimulation<Store>::SelectWithinBounds(Records records, std::int32_t n) {
  // A record pick, then the survival draw.
  enum Draw : std::size_t { kSurvival };
  std::int64_t inUse = state.LngActual;
  if (inUse <= n) return;
  const SurvivalTest& survival = Survival();
  const auto [leastMark, greatestMark] = records.MarkRange(inUse);
  const float leastToKill = survival.LeastThreshold(leastMark, greatestMark);
  StepDraws<1, 1, 0> draws(random_);
  // The steps of the block whose draw may kill, in their order.
  std::array<std::uint8_t, decltype(draws)::kCapacity> mayKill;
  static_assert(decltype(draws)::kCapacity <= 256);
  std::int64_t examined = 0;
  Examination lastExamination;
  while (inUse > n) {
    const std::size_t block = draws.NextBlock(static_cast<std::uint64_t>(inUse - n));
    StopIfAsked();
    std::size_t steps = 0;
    for (std::size_t j = 0; j < block; ++j) {
      mayKill[steps] = static_cast<std::uint8_t>(j);
      steps += draws.Draw(j, kSurvival) >= leastToKill;
    }
    for (std::size_t i = 0; i < steps; ++i) {
      const std::size_t j = mayKill[i];
      const std::int64_t k = PickAt(inUse, draws.Pick(j, 0));
      const Examination examination = records.Examine(k);
      if (draws.Draw(j, kSurvival) >= survival.Threshold(examination)) {
        // Selection ends on a death, so the last death is its last examination.
        examined = k;
        lastExamination = examination;
        records.Copy(inUse, k);
        --inUse;
      }
    }
  }
  EndSelection(records, examined, lastExamination, inUse);
}

template <RecordStore Store>
template <typename Records>
void BasicSimulation<Store>::EndSelection(const Records& records, std::int64_t examined,
                                          Examination lastExamination, std::int64_t inUse) {
  if (examined != 0) {
    // The genome the last examination left in the record it examined.
    records.Read(examined, state.StrCritter.data());
    state.SngNum = static_cast<float>(lastExamination.geneSum);
  }
  state.LngActual = static_cast<std::int32_t>(inUse);
}

template <RecordStore Store>
const SurvivalTest& BasicSimulation<Store>::Survival() {
  if (!survival_ || survival_->Divisor() != state.SngDenom) survival_.emplace(state.SngDenom);
  return *survival_;
}

template <RecordStore Store>
void BasicSimulation<Store>::AdvanceCounter() {
  window_.SetGenerationCounter(NumberText(NumericValue(window_.GenerationCounter()) + 1));
}

// Counted as the summary window counts it, over the population the engine works on, with the
// options that the event ran with.
template <RecordStore Store>
void BasicSimulation<Store>::RecordFigures(RowEvent event, const Options& options) {
  const GeneSummary figures = SummariseGenes(file_, state.LngCritter);
  if (event == RowEvent::Created) history_.AddAtCreation(figures.average);
  if (event == RowEvent::Generation) history_.AddAfterGeneration(figures.average);
  if (event == RowEvent::Mutations) history_.AddAfterMutations(figures.average);
  const RunSettings settings{state.LngCritter, state.SngGoodFactor, state.LngMutateNum,
                             state.SngGenNum,  startingGeneValue_,  options};
  record_.Add(event, settings, figures);
}

template <RecordStore Store>
void BasicSimulation<Store>::ForgetFigures() {
  history_.Clear();
  record_.Clear();
}

template <RecordStore Store>
void BasicSimulation<Store>::RequestHalt() {
  state.IntHalt = kHaltRequested;
}

template <RecordStore Store>
void BasicSimulation<Store>::StartLoopCount() {
  state.DblCount = 0;
}

template <RecordStore Store>
void BasicSimulation<Store>::CountLoop() {
  state.DblCount += 1;
}

template <RecordStore Store>
void BasicSimulation<Store>::EndRun(std::int16_t reason) {
  switch (reason) {
    case kPerfectGenome:
      record_.MarkStop(StopReason::PerfectGenome);
      break;
    case kAllBadGenome:
      record_.MarkStop(StopReason::AllBadGenome);
      break;
    case kHaltRequested:
      record_.MarkStop(StopReason::HaltedByUser);
      break;
    default:
      break;
  }
  state.IntHalt = kNoHalt;
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
