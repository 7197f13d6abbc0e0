#include "engine/runs/repeated_runs.h"

#include <algorithm>
#include <new>
#include <stdexcept>

#include "engine/file/memory_store.h"
#include "engine/runs/run_over.h"
#include "engine/settings/setting_ranges.h"

namespace evo {
namespace {

// SplitMix64's finaliser: every bit of the result depends on every bit of the input.
std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
  return z ^ (z >> 31);
}

// Refuses, before any run starts, what the main window would not take.
const std::vector<RunPlan>& Refused(const std::vector<RunPlan>& plans) {
  for (const RunPlan& plan : plans) {
    if (const auto setting = FirstRefused(plan.settings)) {
      throw EngineError(RefusedSetting{*setting, ValueOf(plan.settings, *setting)});
    }
  }
  return plans;
}

// The population of the largest run planned: what the memory is wanted for.
std::int32_t MostCritters(const std::vector<RunPlan>& plans) {
  std::int32_t largest = 0;
  for (const RunPlan& plan : plans) largest = std::max(largest, plan.settings.populationSize);
  return largest;
}

}  // namespace

std::uint32_t RunSeed(std::uint64_t seed, std::int64_t index) {
  constexpr std::uint64_t kGolden = 0x9e3779b97f4a7c15u;
  return static_cast<std::uint32_t>(Mix(Mix(seed) + kGolden * static_cast<std::uint64_t>(index)) >>
                                    32);
}

std::optional<RunResult> RunToTheEnd(const RunPlan& plan, const std::atomic<bool>& stop) {
  return RunOver<MemoryStore>(plan, stop);
}

std::jthread RepeatedRuns::StartThread(std::function<void()> work) {
  return std::jthread(std::move(work));
}

RepeatedRuns::RepeatedRuns(std::vector<RunPlan> plans, unsigned workers, Runner run,
                           const ThreadStarter& start)
    : plans_(Refused(plans)),
      run_(std::move(run)),
      workerCount_(workers > 0 ? workers : std::max(1u, std::thread::hardware_concurrency())),
      results_(plans_.size()) {
  try {
    workers_.reserve(workerCount_);
    for (unsigned i = 0; i < workerCount_; ++i) workers_.push_back(start([this] { Work(); }));
  } catch (const std::exception&) {
    // No memory for another thread's stack, or the system's limit of threads: the batch does not
    // start, and the workers already going stop within a block before the exception leaves.
    Cancel();
    workers_.clear();
    throw EngineError(OutOfMemory{MostCritters(plans_), workerCount_});
  }
}

RepeatedRuns::~RepeatedRuns() {
  Cancel();
  for (std::jthread& worker : workers_) worker.join();
}

void RepeatedRuns::Cancel() {
  cancelled_ = true;
}

RepeatedRuns::Progress RepeatedRuns::Now() const {
  Progress now;
  now.ended = Ended();
  if (betweenEndAndResults) betweenEndAndResults();
  const std::lock_guard lock(lock_);
  now.results = results_;
  now.finished = finished_;
  now.failure = failure_;
  return now;
}

// No exception leaves a worker: a failure ends the batch, and the runs finished keep their
// results.
void RepeatedRuns::Work() {
  for (std::size_t index = next_++; index < plans_.size() && !cancelled_; index = next_++) {
    const RunPlan& plan = plans_[index];
    try {
      std::optional<RunResult> result = run_(plan, cancelled_);
      if (!result) break;
      const std::lock_guard lock(lock_);
      results_[index] = std::make_shared<const RunResult>(std::move(*result));
      ++finished_;
    } catch (const std::bad_alloc&) {
      Fail(OutOfMemory{plan.settings.populationSize, workerCount_});
    } catch (const std::length_error&) {
      Fail(OutOfMemory{plan.settings.populationSize, workerCount_});
    } catch (const EngineError& error) {
      Fail(error.problem());
    }
  }
  ++endedWorkers_;
}

void RepeatedRuns::Fail(Problem problem) {
  {
    const std::lock_guard lock(lock_);
    if (!failure_) failure_ = std::move(problem);
  }
  cancelled_ = true;
}

}  // namespace evo
