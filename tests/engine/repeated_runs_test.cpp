// Repeated runs: each run as the engine alone makes it, the same whatever the number of workers,
// stopped within a generation by Cancel, and tallied and written out as the user reads them.
#include "engine/runs/repeated_runs.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/simulation/simulation.h"
#include "support/fake_window.h"
#include "support/temp_dir.h"

namespace evo::test {
namespace {

// The design-time settings at 100 critters.
RunPlan DesignTimePlan(std::uint32_t seed, std::int64_t limit = 5000) {
  RunPlan plan;
  plan.settings = ReadSettings({});
  plan.settings.populationSize = 100;
  plan.settings.startingGeneValue = 7;
  plan.generationLimit = limit;
  plan.seed = seed;
  return plan;
}

std::vector<RunPlan> Batch(std::uint64_t seed, int runs) {
  std::vector<RunPlan> plans;
  for (int i = 0; i < runs; ++i) plans.push_back(DesignTimePlan(RunSeed(seed, i)));
  return plans;
}

// The same run through the engine alone, over critter.dat, generation by generation as Run
// Indefinately calls it.
RunResult RunByHand(const RunPlan& plan) {
  FakeWindow window;
  window.options = plan.settings.options;
  window.texts.populationSize = std::to_string(plan.settings.populationSize);
  TwisterRandomSource random(plan.seed);
  Simulation simulation(window, random);
  simulation.Initialise();
  simulation.CreatePopulation(window.texts, window.options);
  RunResult result;
  while (result.generations < plan.generationLimit) {
    simulation.NextGeneration(window.options);
    ++result.generations;
    if (simulation.state.IntHalt != kNoHalt) {
      result.end =
          simulation.state.IntHalt == kPerfectGenome ? RunEnd::PerfectGenome : RunEnd::AllBadGenome;
      break;
    }
  }
  result.averageGene = SummariseGenes(simulation.File(), 100).average;
  simulation.CloseAndDeleteFile();
  return result;
}

TEST(RepeatedRunsTest, EachRunIsTheRunOfTheEngineAloneWhateverTheWorkers) {
  TempDirectory directory;
  const std::vector<RunPlan> plans = Batch(2026, 8);
  RepeatedRuns oneWorker(plans, 1);
  RepeatedRuns threeWorkers(plans, 3);
  oneWorker.Wait();
  threeWorkers.Wait();
  EXPECT_EQ(threeWorkers.Finished(), 8);
  EXPECT_TRUE(std::filesystem::is_empty(directory.Path())) << "the runs touched a file";
  const auto results = oneWorker.Results();
  EXPECT_EQ(results, threeWorkers.Results());
  for (std::size_t i = 0; i < 3; ++i) {
    ASSERT_TRUE(results[i].has_value());
    EXPECT_EQ(*results[i], RunByHand(plans[i])) << i;
    EXPECT_NE(results[i]->end, RunEnd::LimitReached) << "a detection within 5000 generations";
  }
  EXPECT_NE(results[0]->generations, results[1]->generations) << "runs of their own seeds";
}

TEST(RepeatedRunsTest, ARunEndsInTheGenerationWhosePassDetectsAndAtItsLimit) {
  RunPlan perfect = DesignTimePlan(1);
  perfect.settings.populationSize = 10;
  perfect.settings.mutationsPerCycle = 1000;
  perfect.settings.goodMutationProbability = 1;
  perfect.settings.startingGeneValue = 8;
  const std::atomic<bool> running{false};
  const RunResult first = *RunToTheEnd(perfect, running);
  EXPECT_EQ(first.generations, 1);
  EXPECT_EQ(first.end, RunEnd::PerfectGenome);
  EXPECT_DOUBLE_EQ(first.averageGene, 9) << "a thousand good mutations leave every gene a nine";

  RunPlan noMutation = DesignTimePlan(1, 3);
  noMutation.settings.options.autoMutation = false;
  const RunResult limited = *RunToTheEnd(noMutation, running);
  EXPECT_EQ(limited.generations, 3);
  EXPECT_EQ(limited.end, RunEnd::LimitReached);
}

// Short runs first, then runs that never end by themselves: Cancel ends them within a generation
// and the finished ones keep their results.
TEST(RepeatedRunsTest, CancelStopsPromptlyAndKeepsTheFinishedRuns) {
  std::vector<RunPlan> plans;
  for (int i = 0; i < 3; ++i) plans.push_back(DesignTimePlan(RunSeed(7, i), 2));
  for (int i = 3; i < 6; ++i) {
    plans.push_back(DesignTimePlan(RunSeed(7, i), 1'000'000'000));
    plans.back().settings.options.autoMutation = false;
  }
  RepeatedRuns runs(plans, 2);
  while (runs.Finished() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const auto cancelled = std::chrono::steady_clock::now();
  runs.Cancel();
  runs.Wait();
  EXPECT_LT(std::chrono::steady_clock::now() - cancelled, std::chrono::seconds(1));
  EXPECT_TRUE(runs.Ended());
  const auto results = runs.Results();
  for (int i = 0; i < 6; ++i) EXPECT_EQ(results[i].has_value(), i < 3) << i;
  EXPECT_EQ(results[0]->generations, 2);
}

TEST(RunTallyTest, CountsTheEndingsAndSpreadsTheDetectedRuns) {
  const std::vector<RunResult> results = {{4, RunEnd::PerfectGenome, 8},
                                          {1, RunEnd::AllBadGenome, 1},
                                          {10, RunEnd::LimitReached, 7},
                                          {2, RunEnd::PerfectGenome, 8},
                                          {3, RunEnd::PerfectGenome, 8}};
  const RunTally tally = Tally(results);
  EXPECT_EQ(tally.perfect, 3);
  EXPECT_EQ(tally.allBad, 1);
  EXPECT_EQ(tally.atLimit, 1);
  const GenerationSpread& spread = tally.ended;
  EXPECT_EQ(spread.runs, 4);
  EXPECT_EQ(spread.minimum, 1);
  EXPECT_EQ(spread.lowerQuartile, 1.75);
  EXPECT_EQ(spread.median, 2.5);
  EXPECT_EQ(spread.upperQuartile, 3.25);
  EXPECT_EQ(spread.maximum, 4);
  EXPECT_EQ(spread.mean, 2.5);
  EXPECT_EQ(Tally({}).ended.runs, 0);
}

// Settings that tell every column apart, in every number format.
TEST(RunTallyTest, WritesEachRunAsALineOfItsColumns) {
  RunRow row;
  row.run = 12;
  row.seed = 4'000'000'000u;
  row.settings = {1'000'000, 0.3f, 250, 50, 6, {}};
  row.settings.options = {false, true};
  row.settings.startingGeneValue = 6;
  row.result = {1234567, RunEnd::AllBadGenome, 2.0 / 3};
  RunRow limited = row;
  limited.result.end = RunEnd::LimitReached;
  limited.settings.options = {true, false};
  const RunRow rows[] = {row, limited};
  EXPECT_EQ(RunsCsv(rows),
            "run,seed,population size,good mutation probability,mutations per cycle,"
            "sexual exchange,auto mutation,starting gene value,generations,end,average gene\r\n"
            "12,4000000000,1000000,0.3,250,OFF,ON,6,1234567,all bad genome,0.666666666666667\r\n"
            "12,4000000000,1000000,0.3,250,ON,OFF,6,1234567,limit reached,0.666666666666667\r\n");
}

// SplitMix64, as its author publishes it: each output the mixed sum of the state and the golden
// ratio's bits.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t state) : state_(state) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15u);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
  }

 private:
  std::uint64_t state_;
};

// A run's seed is the high half of the SplitMix64 output at the run's index, from a state that is
// the batch's seed mixed once: neighbouring runs, and the same run of neighbouring seeds, differ
// in half their bits on average, as unrelated numbers do.
TEST(RunSeedTest, IsTheSplitMix64OutputAtTheRunsIndex) {
  SplitMix64 published(1234567);
  for (const std::uint64_t expected :
       {6457827717110365317u, 3203168211198807973u, 9817491932198370423u, 4593380528125082431u}) {
    ASSERT_EQ(published.Next(), expected) << "the reference itself";
  }
  for (const std::uint64_t seed : {0u, 5u, 2026u, 4294967295u}) {
    SplitMix64 once(seed - 0x9e3779b97f4a7c15u);
    SplitMix64 runs(once.Next() - 0x9e3779b97f4a7c15u);
    for (std::int64_t i = 0; i < 100; ++i) {
      ASSERT_EQ(RunSeed(seed, i), runs.Next() >> 32) << seed << " " << i;
    }
  }
  EXPECT_EQ(RunSeed(2026, 0), 3722925450u) << "the README's first run of seed 2026";

  double indexBits = 0;
  double seedBits = 0;
  constexpr int kPairs = 10'000;
  for (int i = 0; i < kPairs; ++i) {
    indexBits += std::popcount(RunSeed(77, i) ^ RunSeed(77, i + 1));
    seedBits += std::popcount(RunSeed(i, 3) ^ RunSeed(i + 1, 3));
  }
  EXPECT_NEAR(indexBits / kPairs, 16, 0.5);
  EXPECT_NEAR(seedBits / kPairs, 16, 0.5);
}

}  // namespace
}  // namespace evo::test
