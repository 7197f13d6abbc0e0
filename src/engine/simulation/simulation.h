// The state of the simulation and the operations that change the population.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/file/population_file.h"
#include "engine/record/average_gene_history.h"
#include "engine/record/generation_record.h"
#include "engine/record_store.h"
#include "engine/record_words.h"
#include "engine/settings/read_settings.h"
#include "engine/simulation/random_source.h"
#include "engine/simulation/survival.h"
#include "engine/simulation/window_port.h"

namespace evo {

inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// Stop reasons held in IntHalt.
inline constexpr std::int16_t kNoHalt = 0;
inline constexpr std::int16_t kHaltRequested = -1;
inline constexpr std::int16_t kPerfectGenome = 7;
inline constexpr std::int16_t kAllBadGenome = 6;

inline const std::string kPerfect = "9999999999";
inline const std::string kAllBad = "0000000000";

// The module state of the main window, named as the window's code names it. The genome
// buffers hold exactly ten characters from the start, not only after Initialise: a record read
// fills them whole, and must never find a shorter buffer to write into.
struct SimulationState {
  std::int32_t LngCritter = 0;  // population size: live records 1 to LngCritter
  std::int32_t LngActual = 0;   // records in use during a generation
  std::string StrCritter = std::string(kGenes, ' ');   // genome buffer 1
  std::string Str2Critter = std::string(kGenes, ' ');  // genome buffer 2: the second parent
  float SngDenom = 0;                                  // divisor of the survival chance
  float SngNum = 0;                                    // gene sum of the critter under examination
  std::int32_t LngMutateNum = 0;
  float SngGoodFactor = 0;
  double DblCount = 0;  // iterations of the indefinite run
  std::int16_t IntHalt = kNoHalt;
  float SngGenNum = 0;
  std::int16_t IntCreated = kFalse;
};

// Thrown by an operation of a simulation told to stop when a flag is set (StopWhen), from the
// block of draws in which it sees the flag.
struct RunStopped {};

// What parameters are loaded for: a new population may be of any size; a command working on the
// existing one may not reach records that were never written.
enum class ParameterUse { NewPopulation, ExistingPopulation };

// The simulation over a store of records. Store is the population file; the benchmark also
// runs it over memory, to measure what the file costs, and the tests over a store that checks
// what is read.
template <RecordStore Store>
class BasicSimulation {
 public:
  BasicSimulation(WindowPort& window, RandomSource& random, std::string path = "critter.dat")
      : window_(window), random_(random), path_(std::move(path)) {}

  SimulationState state;

  // The start-up values of the state (the window seeds the random source itself).
  void Initialise();

  // From now on a mutation pass, reproduction and selection look at flag at every block of draws
  // and throw RunStopped once it is set, leaving the population in no meaningful state: for runs
  // in memory, whose populations go with them. The draws and records of a run that goes on are
  // those of one that is never told to stop.
  void StopWhen(const std::atomic<bool>& flag) { stop_ = &flag; }

  // For ExistingPopulation checks the population file first (CheckFile); then loads the parameter
  // boxes' texts into the state (ReadSettings, LoadParameters).
  void GetParameters(const SettingTexts& texts,
                     ParameterUse use = ParameterUse::ExistingPopulation);
  // Loads the parameters into the state and clears IntHalt. A population size beyond the records
  // written (for ExistingPopulation while a population exists) throws EngineError and changes
  // nothing. Unlike GetParameters, it does not check the file first.
  void LoadParameters(const RunSettings& settings, ParameterUse use);

  // Creates a population of the boxes' size and start value in the file, from record 1 on, with
  // an empty history and a record that starts with its figures and the options as they stand.
  // Throws EngineError: before anything changed when a box holds what cannot be used; after
  // closing the file, with no population marked as existing, when the file fails.
  void CreatePopulation(const SettingTexts& texts, const Options& options);
  // The same from settings, whose starting gene value must be 1 to 8 (EngineError otherwise).
  void CreatePopulation(const RunSettings& settings);

  // A fraction in [0, 1) finer than one draw, from two draws.
  double FineRandom();

  // A mutation pass of LngMutateNum point mutations; records a perfect or all-bad genome in
  // IntHalt.
  void Scramble();

  // The user's mutation pass: Scramble, then the average it leaves in the history and its row in
  // the record, made with the options as they stand; throws, through CheckFile, when the file was
  // damaged from outside during the pass.
  void InsertMutations(const Options& options);

  // One generation with the options as they stand: optional mutation pass, reproduction,
  // selection, counter, the average in the history, yield. A generation that a stop reason cuts
  // short after its mutation pass records the pass, as InsertMutations does. Throws FileError when
  // the file cannot grow for the offspring, before reproduction has written anything (the mutation
  // pass, if any, has already been applied); and, through CheckFile, when the file was damaged from
  // outside before or during the generation, without counting it.
  void NextGeneration(const Options& options);

  // The halt button's request: IntHalt becomes -1.
  void RequestHalt();
  // An indefinite run's count of its loops: from 0, one more at the start of each.
  void StartLoopCount();
  void CountLoop();

  // Ends a run that stopped for reason, a stop reason as IntHalt holds them (a detection, the
  // user's halt, or none): the newest row of the record takes it, and IntHalt is cleared.
  void EndRun(std::int16_t reason);

  // While a population exists: when its file no longer holds it whole (another program
  // shortened, replaced or deleted it, or an access failed), drops the population and throws
  // FileError that names the file and says what happened. The commands call it when they have
  // done their reading and writing, since a file can be cut in the middle of them.
  void CheckFile();

  // Closes the population file; no population exists any more.
  void DropPopulation();
  // Closes and removes the population file (as CloseAndDeleteFile); no population exists any
  // more.
  void ErasePopulation();

  // Closes the population file; with delete, removes it as well, unless it is no regular file
  // or another running copy of the program holds it. The population's history and record go
  // with it.
  void CloseFile();
  void CloseAndDeleteFile();

  const Store& File() const { return file_; }
  Store& File() { return file_; }
  const std::string& Path() const { return path_; }
  // The average gene after each generation and mutation pass since the population was created.
  const AverageGeneHistory& History() const { return history_; }
  // Every generation's figures and settings since the population was created.
  const GenerationRecord& Record() const { return record_; }

 private:
  // The mutation pass over the population's records, fetching kAhead mutations ahead, or none
  // for a population in the caches.
  template <std::size_t kAhead, typename Records>
  void MutateFrom(Records records, std::int64_t critters);
  void Mutate(std::int64_t k, float positionDraw, float goodDraw);
  void Reproduce(std::int32_t n, bool exchange);
  // Runs body with the records of a pool of poolSize records: in place where the store holds
  // them all so.
  template <typename Body>
  void WithPoolRecords(std::int64_t poolSize, Body body);
  // Fetching the parents kAhead offspring ahead, or none for a pool in the caches.
  template <bool kExchange, std::size_t kAhead, typename Records>
  void ReproduceFrom(Records records, std::int32_t n);
  // Selection, fetching the records of the examinations kAhead ahead, or none for a pool in the
  // caches.
  template <std::size_t kAhead, typename Records>
  void Select(Records records, std::int32_t n);
  // Selection over records that carry their marks, in a pool in the caches: only the steps whose
  // survival draw may kill examine a record.
  template <typename Records>
  void SelectWithinBounds(Records records, std::int32_t n);
  // What either selection leaves: the buffers hold the last examination, if any, and the pool its
  // records in use.
  template <typename Records>
  void EndSelection(const Records& records, std::int64_t examined, Examination lastExamination,
                    std::int64_t inUse);
  // The survival test of the divisor in the state, made again only when the divisor changed:
  // making it takes a small population's selection longer than its examinations.
  const SurvivalTest& Survival();
  void AdvanceCounter();
  void StopIfAsked() const {
    if (stop_ != nullptr && stop_->load(std::memory_order_relaxed)) throw RunStopped{};
  }
  // Counts the population once, for the history of the average and the record's row.
  void RecordFigures(RowEvent event, const Options& options);
  void ForgetFigures();

  WindowPort& window_;
  RandomSource& random_;
  std::string path_;
  Store file_;
  AverageGeneHistory history_;
  GenerationRecord record_;
  int startingGeneValue_ = 0;  // of the population in the file
  std::optional<SurvivalTest> survival_;
  const std::atomic<bool>* stop_ = nullptr;
};

using Simulation = BasicSimulation<PopulationFile>;
extern template class BasicSimulation<PopulationFile>;

}  // namespace evo
