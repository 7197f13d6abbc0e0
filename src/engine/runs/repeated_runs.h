// Many runs of fresh populations, each to a detected genome or a generation limit, on every core:
// how long evolution takes, and how much that varies. The runs live in memory and touch no file.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/runs/run_tally.h"

namespace evo {

struct RunPlan {
  RunSettings settings;
  std::int64_t generationLimit = 0;
  std::uint32_t seed = 0;  // of the run's random source
};

// The setting that a batch of runs may compare over a list of values.
enum class ComparedSetting {
  None,
  GoodMutationProbability,
  MutationsPerCycle,
  PopulationSize,
  StartingGeneValue
};

// The plans of a batch: runs of the base settings for each value of the compared setting (once,
// values unused, for None), the runs of each value after those of the value before. Run i (from
// 0) of the batch has the seed RunSeed(seed, i), and every run the generation limit.
std::vector<RunPlan> PlanRuns(const RunSettings& base, ComparedSetting compared,
                              const std::vector<double>& values, std::int64_t runs,
                              std::int64_t generationLimit, std::uint64_t seed);

// The seed of the run at index (from 0) of a batch seeded with seed: the two mixed, so that
// neighbouring runs, and the same run of neighbouring seeds, draw unrelated sequences.
std::uint32_t RunSeed(std::uint64_t seed, std::int64_t index);

// One run as Run Indefinately makes its generations, over a population created as Create makes
// one: until a mutation pass detects the perfect or the all-bad genome, or the limit of completed
// generations. Nothing when cancelled is set before the run has ended, which a run looks at once
// a generation.
std::optional<RunResult> RunToTheEnd(const RunPlan& plan, const std::atomic<bool>& cancelled);

// The runs of plans on workers of their own, each worker taking the next run not yet started, so
// that what a run gives depends on its plan alone, not on the number of workers or the order in
// which the runs end.
class RepeatedRuns {
 public:
  // Starts the runs on the given number of workers; on one per core for 0.
  explicit RepeatedRuns(std::vector<RunPlan> plans, unsigned workers = 0);
  // Cancels what is left and waits for the workers.
  ~RepeatedRuns();
  RepeatedRuns(const RepeatedRuns&) = delete;
  RepeatedRuns& operator=(const RepeatedRuns&) = delete;

  // Stops every run within a generation; the runs already finished keep their results.
  void Cancel();
  // Waits until every worker has ended: all runs finished, or cancelled.
  void Wait();

  const std::vector<RunPlan>& Plans() const { return plans_; }
  std::int64_t Finished() const { return finished_.load(); }
  bool Ended() const { return endedWorkers_.load() == workers_.size(); }
  // In the order of the plans; nothing for a run not finished.
  std::vector<std::optional<RunResult>> Results() const;

 private:
  void Work();

  const std::vector<RunPlan> plans_;
  std::atomic<std::size_t> next_{0};
  std::atomic<bool> cancelled_{false};
  std::atomic<std::int64_t> finished_{0};
  std::atomic<std::size_t> endedWorkers_{0};
  mutable std::mutex resultsLock_;
  std::vector<std::optional<RunResult>> results_;
  std::vector<std::jthread> workers_;
};

}  // namespace evo
