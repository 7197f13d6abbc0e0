// The engine over the population file against the straightforward loops over a population in
// memory, in the same run: one generation at the design-time parameters (10 mutations, good
// probability .1, exchange and automatic mutation on, start value 7), a long mutation pass, the
// count of the genes, the record of the average gene and the check of the file that every
// generation makes, and a row of the record of every generation's figures. Also in the same run,
// the machine's own limit for a generation's work: the rate of independent reads of records at
// random in memory, and the rate of draws.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/mman.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "engine/file/memory_store.h"
#include "engine/record/average_gene_history.h"
#include "engine/record/gene_summary.h"
#include "engine/record/generation_record.h"
#include "engine/runs/repeated_runs.h"
#include "engine/simulation/simulation_impl.h"
#include "straightforward_simulation.h"

namespace evo::bench {
namespace {

constexpr std::uint32_t kSeed = 20240101;

// The mutation pass at the start of every generation at the design-time settings.
constexpr int kMutations = 10;

// A fresh directory for critter.dat, removed with everything in it at the end.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "evolution-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make " + pattern);
    path_ = pattern;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// A simulation over a store, with a population of the benchmark's size created in it at the main
// window's design-time settings (10 mutations, good probability .1, exchange and automatic
// mutation ON, start value 7).
template <typename Store>
struct Bench {
  explicit Bench(std::int64_t population)
      : simulation(window, random, directory.File("critter.dat")) {
    texts.populationSize = std::to_string(population);
    simulation.Initialise();
    simulation.CreatePopulation(texts, options);
  }

  ScratchDirectory directory;
  SettingTexts texts;
  Options options;
  WindowlessPort window;
  TwisterRandomSource random{kSeed};
  BasicSimulation<Store> simulation;
};

// The engine's own loops, and the straightforward ones, over the same simulation.
struct EngineLoops {
  template <typename Store>
  static void NextGeneration(Bench<Store>& bench) {
    bench.simulation.NextGeneration(bench.options);
  }
  template <typename Store>
  static void Scramble(Bench<Store>& bench) {
    bench.simulation.Scramble();
  }
  template <typename Store>
  static GeneSummary Summarise(const Bench<Store>& bench, std::int32_t population) {
    return SummariseGenes(bench.simulation.File(), population);
  }
};

struct StraightforwardLoops {
  template <typename Store>
  static void NextGeneration(Bench<Store>& bench) {
    reference::StraightforwardSimulation<Store>(bench.simulation, bench.window, bench.random)
        .NextGeneration(bench.options);
  }
  template <typename Store>
  static void Scramble(Bench<Store>& bench) {
    reference::StraightforwardSimulation<Store>(bench.simulation, bench.window, bench.random)
        .Scramble();
  }
  template <typename Store>
  static GeneSummary Summarise(const Bench<Store>& bench, std::int32_t population) {
    return reference::SummariseGenesByteByByte(bench.simulation.File(), population);
  }
};

// The population in memory, counting the records read.
class ReadCountingStore : public MemoryStore {
 public:
  void ReadRecord(std::int64_t k, Genome out) const {
    ++reads;
    MemoryStore::ReadRecord(k, out);
  }
  // No record in place, where a read would go uncounted.
  MarkedRecordsInPlace RecordsAndMarksInPlace(std::int64_t count) = delete;
  mutable std::int64_t reads = 0;
};

// The work of one generation from the created population: the draws it takes, and the records it
// reads at random (the mutations', the parents' and the examined critters'; not the last record
// in use that each of the N deaths moves, which is the one before the last moved).
struct GenerationWork {
  double draws = 0;
  double randomReads = 0;
};

// Counted once per size, over memory, by the engine, which takes exactly the straightforward
// loops' draws and reads.
GenerationWork CountWork(std::int64_t population) {
  static std::map<std::int64_t, GenerationWork> counted;
  if (const auto found = counted.find(population); found != counted.end()) return found->second;
  Bench<ReadCountingStore> bench(population);
  bench.simulation.File().reads = 0;
  bench.simulation.NextGeneration(bench.options);
  const std::int64_t reads = bench.simulation.File().reads;
  const std::int64_t mutationAndParentDraws = 4 * (kMutations + population);
  const std::int64_t examinations = reads - kMutations - 3 * population;
  const GenerationWork work{static_cast<double>(mutationAndParentDraws + 3 * examinations),
                            static_cast<double>(reads - population)};
  return counted[population] = work;
}

// Every generation starts from the population as created and the same seed, so both sides do
// exactly the same work in every iteration. The population is written back in place, as the
// file stays open from one generation of a run to the next.
template <typename Loops, typename Store>
void BM_Generation(benchmark::State& state) {
  const std::int64_t population = state.range(0);
  const GenerationWork work = CountWork(population);
  Bench<Store> bench(population);
  for (auto _ : state) {
    state.PauseTiming();
    for (std::int64_t k = 1; k <= population; ++k) {
      bench.simulation.File().WriteRecord(k, "7777777777");
    }
    bench.random = TwisterRandomSource(kSeed);
    state.ResumeTiming();
    Loops::NextGeneration(bench);
  }
  state.SetItemsProcessed(state.iterations() * population);
  state.counters["draws"] = work.draws;
  state.counters["random_reads"] = work.randomReads;
}

// A pass of ten million mutations over a million critters, from the same seed every time.
template <typename Loops, typename Store>
void BM_MutationPass(benchmark::State& state) {
  constexpr std::int32_t kMutations = 10'000'000;
  Bench<Store> bench(1'000'000);
  bench.simulation.state.LngMutateNum = kMutations;
  for (auto _ : state) {
    state.PauseTiming();
    bench.random = TwisterRandomSource(kSeed);
    state.ResumeTiming();
    Loops::Scramble(bench);
  }
  state.SetItemsProcessed(state.iterations() * kMutations);
}

template <typename Loops, typename Store>
void BM_GeneCount(benchmark::State& state) {
  const std::int64_t population = state.range(0);
  Bench<Store> bench(population);
  for (auto _ : state) {
    benchmark::DoNotOptimize(Loops::Summarise(bench, static_cast<std::int32_t>(population)));
  }
  state.SetItemsProcessed(state.iterations() * population * 10);
}

// What a generation adds to remember the population's average: one gene count and one record
// in the history, to set against BM_Generation.
template <typename Store>
void BM_RecordAverage(benchmark::State& state) {
  const std::int64_t population = state.range(0);
  Bench<Store> bench(population);
  AverageGeneHistory history;
  for (auto _ : state) {
    history.AddAfterGeneration(
        SummariseGenes(bench.simulation.File(), static_cast<std::int32_t>(population)).average);
  }
  benchmark::DoNotOptimize(history.Spans().data());
  state.SetItemsProcessed(state.iterations() * population);
}

// What a generation spends making sure that the file still holds the population as the program
// wrote it (its length, its name, the fault watch and the genes of every record in use), to set
// against BM_Generation: a generation with automatic mutation checks three times, before and
// after its mutation pass and after selection.
template <typename Store>
void BM_CheckFile(benchmark::State& state) {
  const std::int64_t population = state.range(0);
  Bench<Store> bench(population);
  for (auto _ : state) bench.simulation.CheckFile();
  state.SetItemsProcessed(state.iterations() * population);
}

// What a generation adds to the record of every generation's figures, beyond the gene count
// that the average already takes: one row with its settings, into a record filled to its bound
// first, so that the thinning it then does now and again is part of the cost.
void BM_RecordRow(benchmark::State& state) {
  const RunSettings settings{1'000'000, 0.1f, 10, 50, 7, {}};
  GeneSummary figures;
  figures.counts[7] = 1e7;
  figures.average = 7;
  GenerationRecord record;
  record.Add(RowEvent::Created, settings, figures);
  while (record.GenerationSpacing() == 1) record.Add(RowEvent::Generation, settings, figures);
  for (auto _ : state) record.Add(RowEvent::Generation, settings, figures);
  benchmark::DoNotOptimize(record.Rows().data());
}

// Memory of its own for the records, in pages of 2 MB where the system has them, as the
// population file is mapped.
class RecordBuffer {
 public:
  explicit RecordBuffer(std::size_t bytes) : bytes_(bytes) {
    void* mapped =
        ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) throw std::runtime_error("cannot map a buffer for the records");
    data_ = static_cast<char*>(mapped);
    ::madvise(data_, bytes, MADV_HUGEPAGE);
    std::memset(data_, '7', bytes);
  }
  ~RecordBuffer() { ::munmap(data_, bytes_); }
  RecordBuffer(const RecordBuffer&) = delete;
  RecordBuffer& operator=(const RecordBuffer&) = delete;

  const char* Data() const { return data_; }

 private:
  char* data_;
  std::size_t bytes_;
};

// The machine's limit for the records a generation reads at random: independent reads of one
// record each at random places of a buffer of the pool's size (the argument, in records: 2 000 000
// is the 20 MB file of a million critters during a generation), each fetched into the cache 32
// reads ahead, which kept the memory busiest here (8, 12, 20, 32 and 64 were tried).
void BM_RandomRecordReads(benchmark::State& state) {
  const auto records = static_cast<std::size_t>(state.range(0));
  constexpr std::size_t kAhead = 32;
  constexpr std::size_t kReads = 1 << 20;
  const RecordBuffer buffer(records * kGenes);
  // A linear congruential generator, far cheaper than a draw, scaled to a record.
  std::uint64_t lcg = kSeed;
  const auto nextOffset = [&lcg, records] {
    lcg = lcg * 6364136223846793005u + 1442695040888963407u;
    return ((lcg >> 32) * records >> 32) * kGenes;
  };
  std::array<std::size_t, kAhead> coming{};
  for (std::size_t& offset : coming) offset = nextOffset();
  for (auto _ : state) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < kReads; ++i) {
      const std::size_t later = nextOffset();
      __builtin_prefetch(buffer.Data() + later);
      std::size_t& offset = coming[i % kAhead];
      Genome record;
      std::memcpy(record, buffer.Data() + offset, kGenes);
      sum += static_cast<unsigned char>(record[i % kGenes]);
      offset = later;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kReads);
}

// The machine's limit for the draws: the engine's random source, in the batches its loops take.
void BM_Draws(benchmark::State& state) {
  TwisterRandomSource random(kSeed);
  std::array<float, 1024> batch;
  for (auto _ : state) {
    random.DrawMany(batch.data(), batch.size());
    benchmark::DoNotOptimize(batch.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(batch.size()));
}

// Waits until every worker of the runs has stopped, looking every millisecond: more often, the
// looking took a share of the cores that the workers want.
void WaitForTheEnd(const RepeatedRuns& runs) {
  while (!runs.Ended()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

// Runs of a batch of repeated runs of the given population at the design-time settings, each to
// its detected genome (a limit of 10 000 generations, never reached here): run i has the seed of
// run i of a batch seeded with `batch`.
std::vector<RunPlan> RunPlans(std::int64_t population, std::uint64_t batch, int runs) {
  std::vector<RunPlan> plans(runs);
  for (int i = 0; i < runs; ++i) {
    plans[i].settings = ReadSettings({std::to_string(population)});
    plans[i].settings.startingGeneValue = 7;
    plans[i].generationLimit = 10'000;
    plans[i].seed = RunSeed(batch, i);
  }
  return plans;
}

// The twister, counting the draws it gives.
class DrawCountingSource final : public RandomSource {
 public:
  explicit DrawCountingSource(std::uint32_t seed) : twister_(seed) {}
  float Draw() override {
    ++draws;
    return twister_.Draw();
  }
  void DrawMany(float* out, std::size_t count) override {
    draws += static_cast<std::int64_t>(count);
    twister_.DrawMany(out, count);
  }
  void SeedFromTimeOfDay(float) override {}
  std::int64_t draws = 0;

 private:
  TwisterRandomSource twister_;
};

// The work of an average generation of whole runs, from creation to the detected genome: what
// their populations evolve into decides how many examinations selection takes. Counted once per
// size over the first runs of the benchmark's first batch, as the runs make their generations.
GenerationWork CountRunWork(std::int64_t population) {
  static std::map<std::int64_t, GenerationWork> counted;
  if (const auto found = counted.find(population); found != counted.end()) return found->second;
  std::int64_t draws = 0;
  std::int64_t randomReads = 0;
  std::int64_t generations = 0;
  for (const RunPlan& plan : RunPlans(population, 0, 8)) {
    WindowlessPort port;
    DrawCountingSource random(plan.seed);
    BasicSimulation<ReadCountingStore> simulation(port, random, {});
    simulation.Initialise();
    simulation.CreatePopulation(plan.settings);
    random.draws = 0;
    simulation.File().reads = 0;
    std::int64_t generation = 0;
    while (generation < plan.generationLimit && simulation.state.IntHalt == kNoHalt) {
      simulation.NextGeneration(plan.settings.options);
      ++generation;
    }
    draws += random.draws;
    // Every selection's deaths move the last record in use, one read each that is not at random.
    randomReads += simulation.File().reads - generation * population;
    generations += generation;
  }
  const auto perGeneration = [generations](std::int64_t total) {
    return static_cast<double>(total) / static_cast<double>(generations);
  };
  return counted[population] = {perGeneration(draws), perGeneration(randomReads)};
}

// Repeated runs of the population given on the number of workers given, 128 runs an iteration:
// with fewer, the time that one worker goes on alone with the last run of an iteration, while
// the others have nothing left, made two workers look slower than they are. Every iteration
// makes the same runs for every number of workers. Besides the runs a second, the time of a
// generation on one worker, the batches' creation included, and the draws and reads at random
// of an average generation of such runs.
void BM_RepeatedRuns(benchmark::State& state) {
  constexpr int kRunsPerIteration = 128;
  const std::int64_t population = state.range(0);
  const auto workers = static_cast<unsigned>(state.range(1));
  const GenerationWork work = CountRunWork(population);
  std::uint64_t batch = 0;
  std::int64_t generations = 0;
  for (auto _ : state) {
    RepeatedRuns runs(RunPlans(population, batch, kRunsPerIteration), workers);
    WaitForTheEnd(runs);
    for (const auto& result : runs.Now().results) generations += result->generations;
    ++batch;
  }
  state.counters["runs_per_second"] = benchmark::Counter(
      static_cast<double>(state.iterations() * kRunsPerIteration), benchmark::Counter::kIsRate);
  state.counters["s_per_generation"] =
      benchmark::Counter(static_cast<double>(generations) / workers,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.counters["draws"] = work.draws;
  state.counters["random_reads"] = work.randomReads;
}

// How long the runs on every core take to stop after Cancel, which itself returns at once: runs
// that would otherwise never end, of the population and the mutations per cycle given (none
// without automatic mutation), cancelled 0.3 s after their start, in the middle of a generation
// or of its mutation pass.
void BM_CancelRepeatedRuns(benchmark::State& state) {
  const auto population = std::to_string(state.range(0));
  const auto mutations = static_cast<std::int32_t>(state.range(1));
  std::uint64_t batch = 0;
  for (auto _ : state) {
    std::vector<RunPlan> plans(std::max(1u, std::thread::hardware_concurrency()));
    for (std::size_t i = 0; i < plans.size(); ++i) {
      plans[i].settings = ReadSettings({population});
      plans[i].settings.startingGeneValue = 7;
      plans[i].settings.mutationsPerCycle = mutations;
      plans[i].settings.goodMutationProbability = 0.5f;
      plans[i].settings.options.autoMutation = mutations > 0;
      plans[i].generationLimit = 1'000'000'000;
      plans[i].seed = RunSeed(batch, static_cast<std::int64_t>(i));
    }
    RepeatedRuns runs(std::move(plans));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto cancelled = std::chrono::steady_clock::now();
    runs.Cancel();
    WaitForTheEnd(runs);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - cancelled).count());
    ++batch;
  }
}

// The populations of repeated runs, each on one worker and on one per core.
void RunSizesOnWorkers(benchmark::internal::Benchmark* benchmark) {
  for (const std::int64_t population : {100, 1000, 10'000}) {
    for (const unsigned workers : {1u, std::max(1u, std::thread::hardware_concurrency())}) {
      benchmark->Args({population, workers});
    }
  }
  benchmark->UseRealTime()->Unit(benchmark::kMillisecond);
}

// The population sizes measured, from a small population to the largest the window accepts.
void PopulationSizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

// The populations of repeated runs, whose pools lie in the processor's caches.
void RunSizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(100)->Arg(1000)->Arg(10'000)->Unit(benchmark::kMicrosecond);
}

// The engine alone also at ten million critters, for the time per critter as the file outgrows
// the caches.
void ScalingSizes(benchmark::internal::Benchmark* benchmark) {
  PopulationSizes(benchmark);
  benchmark->Arg(10'000'000);
}

BENCHMARK_TEMPLATE(BM_Generation, EngineLoops, PopulationFile)->Apply(ScalingSizes);
BENCHMARK_TEMPLATE(BM_Generation, StraightforwardLoops, MemoryStore)->Apply(PopulationSizes);
BENCHMARK_TEMPLATE(BM_Generation, EngineLoops, MemoryStore)->Apply(RunSizes);
BENCHMARK_TEMPLATE(BM_Generation, StraightforwardLoops, MemoryStore)->Apply(RunSizes);
BENCHMARK_TEMPLATE(BM_MutationPass, EngineLoops, PopulationFile)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_MutationPass, StraightforwardLoops, MemoryStore)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_GeneCount, EngineLoops, PopulationFile)->Apply(PopulationSizes);
BENCHMARK_TEMPLATE(BM_GeneCount, StraightforwardLoops, MemoryStore)->Apply(PopulationSizes);
BENCHMARK_TEMPLATE(BM_RecordAverage, PopulationFile)->Apply(PopulationSizes);
BENCHMARK_TEMPLATE(BM_CheckFile, PopulationFile)->Apply(PopulationSizes);
BENCHMARK(BM_RecordRow);
// The pools of a million critters, and of 100, 1000 and 10 000.
BENCHMARK(BM_RandomRecordReads)
    ->Arg(2'000'000)
    ->Arg(200)
    ->Arg(2000)
    ->Arg(20'000)
    ->Unit(benchmark::kNanosecond);
BENCHMARK(BM_Draws)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RepeatedRuns)->Apply(RunSizesOnWorkers);
BENCHMARK(BM_CancelRepeatedRuns)
    ->Args({1000, 0})
    ->Args({1'000'000, 0})
    ->Args({1000, 10'000'000})
    ->Args({1'000'000, 10'000'000})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);

}  // namespace
}  // namespace evo::bench

BENCHMARK_MAIN();
