// The definitions of BasicSimulation, for the stores it is instantiated with.
#pragma once

#include <cmath>

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
}

template <typename Store>
void BasicSimulation<Store>::CreatePopulation() {
  const std::string startText = window_.BoxText(ParameterBox::StartNum);
  const std::size_t firstCharacter = startText.find_first_not_of(' ');
  if (firstCharacter == std::string::npos) throw EngineError(kStartValueRefused);
  GetParameters(ParameterUse::NewPopulation);
  window_.SetGenerationCounter("0");
  try {
    file_.Open(path_);
    state.StrCritter.assign(kGenes, startText[firstCharacter]);
    file_.Reserve(state.LngCritter);
    for (std::int64_t k = 1; k <= state.LngCritter; ++k) {
      file_.WriteRecord(k, state.StrCritter.data());
    }
    file_.CheckIntact();
  } catch (const FileError&) {
    DropPopulation();
    throw;
  }
  state.IntCreated = kTrue;
}

template <typename Store>
double BasicSimulation<Store>::FineRandom() {
  const double fine = random_.Draw();
  const double coarse = random_.Draw();
  return (std::floor(coarse * 1000000.0) + fine) / 1000000.0;
}

template <typename Store>
std::int64_t BasicSimulation<Store>::PickRecord(std::int64_t count) {
  return static_cast<std::int64_t>(std::floor(static_cast<double>(count) * FineRandom())) + 1;
}

template <typename Store>
void BasicSimulation<Store>::Scramble() {
  // With no critter there is no record to mutate: a pick would land outside the population.
  if (state.LngCritter < 1) return;
  const std::int32_t mutations = state.LngMutateNum;
  for (std::int32_t i = 0; i < mutations; ++i) Mutate(PickRecord(state.LngCritter));
}

template <typename Store>
void BasicSimulation<Store>::Mutate(std::int64_t k) {
  std::string& genome = state.StrCritter;
  file_.ReadRecord(k, genome.data());
  const auto position = static_cast<std::size_t>(std::floor(double{random_.Draw()} * 10));
  char gene = static_cast<char>(genome[position] - 1);
  if (random_.Draw() <= state.SngGoodFactor) gene = static_cast<char>(gene + 2);
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
  if (window_.MutationOn()) Scramble();
  if (state.IntHalt != kNoHalt) {
    CheckFile();
    return;
  }
  const std::int32_t n = state.LngCritter;
  Reproduce(n);
  Select(n);
  CheckFile();
  AdvanceCounter();
  window_.Yield();
}

// Offspring i of N goes to record N + i, from a parent among the records 1 to N.
template <typename Store>
void BasicSimulation<Store>::Reproduce(std::int32_t n) {
  state.LngActual = n;
  const bool exchange = window_.SexOn();
  file_.Reserve(2 * std::int64_t{n});
  for (std::int32_t i = 1; i <= n; ++i) {
    file_.ReadRecord(PickRecord(n), state.StrCritter.data());
    if (exchange) {
      file_.ReadRecord(PickRecord(n), state.Str2Critter.data());
      state.StrCritter.replace(5, 5, state.Str2Critter, 5, 5);
    }
    state.LngActual = n + i;
    file_.WriteRecord(state.LngActual, state.StrCritter.data());
  }
}

// Culls the pool back to N: a dead critter's record takes the last record in use.
template <typename Store>
void BasicSimulation<Store>::Select(std::int32_t n) {
  std::string& genome = state.StrCritter;
  while (state.LngActual > n) {
    const std::int64_t k = PickRecord(state.LngActual);
    file_.ReadRecord(k, genome.data());
    state.SngNum = 0;
    for (char gene : genome) state.SngNum += static_cast<float>(GeneValue(gene));
    const float x = random_.Draw();
    const bool dies = genome.find('0') != std::string::npos ||
                      x >= static_cast<double>(state.SngNum) / state.SngDenom;
    if (dies) {
      file_.ReadRecord(state.LngActual, genome.data());
      file_.WriteRecord(k, genome.data());
      --state.LngActual;
    }
  }
}

template <typename Store>
void BasicSimulation<Store>::AdvanceCounter() {
  window_.SetGenerationCounter(NumberText(NumericValue(window_.GenerationCounter()) + 1));
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
  file_.Close();
  state.IntCreated = kFalse;
}

template <typename Store>
void BasicSimulation<Store>::CloseFile() {
  file_.Close();
}

template <typename Store>
void BasicSimulation<Store>::CloseAndDeleteFile() {
  file_.CloseAndDelete(path_);
}

}  // namespace evo
