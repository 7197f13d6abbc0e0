// Many runs of fresh populations, each to a detected genome or a generation limit, on every core:
// how long evolution takes, and how much that varies. The runs live in memory and touch no file.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/engine_error.h"
#include "engine/runs/run_tally.h"

namespace evo {

struct RunPlan {
  RunSettings settings;
  std::int64_t generationLimit = 0;
  std::uint32_t seed = 0;  // of the run's random source
  // Generations between two samples of the run's course of the average gene; none when 0.
  std::int64_t courseStep = 0;
  std::size_t group = 0;  // of the runs made with the same settings, for the one who reads them
};

// The seed of the run at index (from 0) of a batch seeded with seed: the two mixed, so that
// neighbouring runs, and the same run of neighbouring seeds, draw unrelated sequences.
std::uint32_t RunSeed(std::uint64_t seed, std::int64_t index);

// The results of the runs of a batch in the order of their plans, none for a run not finished;
// shared, so that a look at them copies no course.
using RunResults = std::vector<std::shared_ptr<const RunResult>>;

// One run as Run Indefinately makes its generations, over a population created as Create makes
// one: until a mutation pass detects the perfect or the all-bad genome, or the limit of completed
// generations, with the average gene at every courseStep-th completed generation from 0. Nothing
// once stop is set, which the run looks at every block of draws.
std::optional<RunResult> RunToTheEnd(const RunPlan& plan, const std::atomic<bool>& stop);

// The runs of plans on workers of their own, each worker taking the next run not yet started, so
// that what a run gives depends on its plan alone, not on the number of workers or the order in
// which the runs end.
class RepeatedRuns {
 public:
  // What makes one run: RunToTheEnd, or in tests a run that fails.
  using Runner =
      std::function<std::optional<RunResult>(const RunPlan& plan, const std::atomic<bool>& stop)>;

  // What the runs have come to, read at one moment.
  struct Progress {
    bool ended = false;  // every worker has stopped: all runs finished, cancelled, or failed
    RunResults results;
    std::int64_t finished = 0;       // the results there are
    std::optional<Problem> failure;  // what ended the runs before their end
  };

  // What starts a worker's thread: a std::jthread, or in tests one the system refuses.
  using ThreadStarter = std::function<std::jthread(std::function<void()> work)>;
  static std::jthread StartThread(std::function<void()> work);

  // Starts the runs on the given number of workers (one per core for 0), each made by run. A run
  // that fails for want of memory or with an EngineError ends the batch with that failure.
  // Throws EngineError, starting nothing: RefusedSetting for a plan whose settings the main
  // window would not take (no run may need more than a million critters' memory), OutOfMemory
  // when the system cannot start every worker's thread.
  explicit RepeatedRuns(std::vector<RunPlan> plans, unsigned workers = 0, Runner run = RunToTheEnd,
                        const ThreadStarter& start = StartThread);
  // Stops what is left and waits for the workers, a block of draws at most.
  ~RepeatedRuns();
  RepeatedRuns(const RepeatedRuns&) = delete;
  RepeatedRuns& operator=(const RepeatedRuns&) = delete;

  // Tells every run to stop within a block of draws, and returns at once; the runs already
  // finished keep their results. Ended() tells when the workers have stopped.
  void Cancel();
  bool Ended() const { return endedWorkers_.load() == workerCount_; }

  // Whether the runs ended is read before what they hold, so that a batch seen as ended is seen
  // whole: a run that finishes between the two reads is seen at the next.
  Progress Now() const;

  const std::vector<RunPlan>& Plans() const { return plans_; }
  unsigned Workers() const { return workerCount_; }

  // Called in Now() between reading whether the runs ended and reading their results: for
  // tests, to end the runs there.
  std::function<void()> betweenEndAndResults;

 private:
  void Work();
  // Keeps the first failure and stops the other runs.
  void Fail(Problem problem);

  const std::vector<RunPlan> plans_;
  const Runner run_;
  const unsigned workerCount_;
  std::atomic<std::size_t> next_{0};
  std::atomic<bool> cancelled_{false};
  std::atomic<std::size_t> endedWorkers_{0};
  mutable std::mutex lock_;  // of the results and the failure
  RunResults results_;
  std::int64_t finished_ = 0;
  std::optional<Problem> failure_;
  std::vector<std::jthread> workers_;
};

}  // namespace evo
