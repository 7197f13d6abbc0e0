#include "engine/runs/repeated_runs.h"

#include <algorithm>

#include "engine/file/memory_store.h"
#include "engine/simulation/simulation_impl.h"

namespace evo {
namespace {

// SplitMix64's finaliser: every bit of the result depends on every bit of the input.
std::uint64_t Mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
  return z ^ (z >> 31);
}

RunEnd EndOf(std::int16_t stopReason) {
  return stopReason == kPerfectGenome ? RunEnd::PerfectGenome : RunEnd::AllBadGenome;
}

}  // namespace

std::uint32_t RunSeed(std::uint64_t seed, std::int64_t index) {
  constexpr std::uint64_t kGolden = 0x9e3779b97f4a7c15u;
  return static_cast<std::uint32_t>(Mix(Mix(seed) + kGolden * static_cast<std::uint64_t>(index)) >>
                                    32);
}

std::vector<RunPlan> PlanRuns(const RunSettings& base, ComparedSetting compared,
                              const std::vector<double>& values, std::int64_t runs,
                              std::int64_t generationLimit, std::uint64_t seed) {
  const std::vector<double> each =
      compared == ComparedSetting::None ? std::vector<double>{0} : values;
  std::vector<RunPlan> plans;
  for (const double value : each) {
    RunSettings settings = base;
    switch (compared) {
      case ComparedSetting::None:
        break;
      case ComparedSetting::GoodMutationProbability:
        settings.goodMutationProbability = static_cast<float>(value);
        break;
      case ComparedSetting::MutationsPerCycle:
        settings.mutationsPerCycle = static_cast<std::int32_t>(value);
        break;
      case ComparedSetting::PopulationSize:
        settings.populationSize = static_cast<std::int32_t>(value);
        break;
      case ComparedSetting::StartingGeneValue:
        settings.startingGeneValue = static_cast<int>(value);
        break;
    }
    for (std::int64_t i = 0; i < runs; ++i) {
      const auto index = static_cast<std::int64_t>(plans.size());
      plans.push_back({settings, generationLimit, RunSeed(seed, index)});
    }
  }
  return plans;
}

std::optional<RunResult> RunToTheEnd(const RunPlan& plan, const std::atomic<bool>& cancelled) {
  WindowlessPort port;
  TwisterRandomSource random(plan.seed);
  BasicSimulation<MemoryStore> simulation(port, random, {});
  simulation.Initialise();
  const RunSettings& settings = plan.settings;
  simulation.CreatePopulation(settings);
  RunResult result;
  for (std::int64_t generation = 1; generation <= plan.generationLimit; ++generation) {
    if (cancelled.load(std::memory_order_relaxed)) return std::nullopt;
    simulation.NextGeneration(settings.options);
    result.generations = generation;
    if (simulation.state.IntHalt != kNoHalt) {
      result.end = EndOf(simulation.state.IntHalt);
      break;
    }
  }
  result.averageGene = simulation.Record().Rows().back().figures.average;
  return result;
}

RepeatedRuns::RepeatedRuns(std::vector<RunPlan> plans, unsigned workers)
    : plans_(std::move(plans)), results_(plans_.size()) {
  if (workers == 0) workers = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned i = 0; i < workers; ++i) workers_.emplace_back([this] { Work(); });
}

RepeatedRuns::~RepeatedRuns() {
  Cancel();
  Wait();
}

void RepeatedRuns::Cancel() {
  cancelled_ = true;
}

void RepeatedRuns::Wait() {
  for (std::jthread& worker : workers_) {
    if (worker.joinable()) worker.join();
  }
}

std::vector<std::optional<RunResult>> RepeatedRuns::Results() const {
  const std::lock_guard lock(resultsLock_);
  return results_;
}

void RepeatedRuns::Work() {
  for (std::size_t index = next_++; index < plans_.size() && !cancelled_; index = next_++) {
    const std::optional<RunResult> result = RunToTheEnd(plans_[index], cancelled_);
    if (!result) break;
    {
      const std::lock_guard lock(resultsLock_);
      results_[index] = result;
    }
    ++finished_;
  }
  ++endedWorkers_;
}

}  // namespace evo
