// One run of a plan over a store of records of any kind: in memory for repeated runs, over a
// store that fails in tests.
#pragma once

#include <atomic>
#include <optional>

#include "engine/runs/repeated_runs.h"
#include "engine/simulation/simulation_impl.h"

namespace evo {

// RunToTheEnd over a Store.
template <RecordStore Store>
std::optional<RunResult> RunOver(const RunPlan& plan, const std::atomic<bool>& stop) {
  WindowlessPort port;
  TwisterRandomSource random(plan.seed);
  BasicSimulation<Store> simulation(port, random, {});
  simulation.Initialise();
  simulation.StopWhen(stop);
  const auto average = [&simulation] { return simulation.Record().Rows().back().figures.average; };
  RunResult result;
  try {
    simulation.CreatePopulation(plan.settings);
    if (plan.courseStep > 0) result.course.push_back(static_cast<float>(average()));
    for (std::int64_t generation = 1; generation <= plan.generationLimit; ++generation) {
      simulation.NextGeneration(plan.settings.options);
      result.generations = generation;
      if (simulation.state.IntHalt != kNoHalt) {
        result.end = simulation.state.IntHalt == kPerfectGenome ? RunEnd::PerfectGenome
                                                                : RunEnd::AllBadGenome;
        break;
      }
      if (plan.courseStep > 0 && generation % plan.courseStep == 0) {
        result.course.push_back(static_cast<float>(average()));
      }
    }
  } catch (const RunStopped&) {
    return std::nullopt;
  }
  result.averageGene = average();
  return result;
}

}  // namespace evo
