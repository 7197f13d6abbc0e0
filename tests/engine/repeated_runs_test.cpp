// Repeated runs: each run as the engine alone makes it, the same whatever the number of workers,
// stopped within a generation by Cancel, and tallied and written out as the user reads them.
#include "engine/runs/repeated_runs.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <memory>
#include <new>
#include <system_error>
#include <thread>

#include "engine/file/memory_store.h"
#include "engine/runs/run_over.h"
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

// The averages of a run made by hand over critter.dat, after each number of generations asked.
class RunByHandCourse {
 public:
  explicit RunByHandCourse(const RunPlan& plan) : random_(plan.seed) {
    window_.options = plan.settings.options;
    window_.texts.populationSize = std::to_string(plan.settings.populationSize);
    simulation_.Initialise();
    simulation_.CreatePopulation(window_.texts, window_.options);
  }
  ~RunByHandCourse() { simulation_.CloseAndDeleteFile(); }

  float AverageAfter(std::int64_t generations) {
    while (done_ < generations) {
      simulation_.NextGeneration(window_.options);
      ++done_;
    }
    return static_cast<float>(
        SummariseGenes(simulation_.File(), simulation_.state.LngCritter).average);
  }

 private:
  TempDirectory directory_;
  FakeWindow window_;
  TwisterRandomSource random_;
  Simulation simulation_{window_, random_};
  std::int64_t done_ = 0;
};

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

// Waits until every worker has stopped, and gives what the runs came to.
RepeatedRuns::Progress AtTheEnd(const RepeatedRuns& runs) {
  while (!runs.Ended()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return runs.Now();
}

TEST(RepeatedRunsTest, EachRunIsTheRunOfTheEngineAloneWhateverTheWorkers) {
  TempDirectory directory;
  const std::vector<RunPlan> plans = Batch(2026, 8);
  RepeatedRuns oneWorker(plans, 1);
  RepeatedRuns threeWorkers(plans, 3);
  const RepeatedRuns::Progress one = AtTheEnd(oneWorker);
  const RepeatedRuns::Progress three = AtTheEnd(threeWorkers);
  EXPECT_EQ(three.finished, 8);
  EXPECT_FALSE(three.failure.has_value());
  EXPECT_TRUE(std::filesystem::is_empty(directory.Path())) << "the runs touched a file";
  for (std::size_t i = 0; i < 8; ++i) {
    ASSERT_TRUE(one.results[i] && three.results[i]) << i;
    EXPECT_EQ(*one.results[i], *three.results[i]) << i;
  }
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(*one.results[i], RunByHand(plans[i])) << i;
    EXPECT_NE(one.results[i]->end, RunEnd::LimitReached) << "a detection within 5000 generations";
  }
  EXPECT_NE(one.results[0]->generations, one.results[1]->generations) << "runs of their own seeds";
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

// A run's course: the average at creation, then at every step of completed generations; a run
// cut short by its detection takes no sample of the generation it did not complete.
TEST(RepeatedRunsTest, ARunSamplesItsCourseAtEveryStepOfCompletedGenerations) {
  const std::atomic<bool> running{false};
  RunPlan limited = DesignTimePlan(3, 10);
  limited.courseStep = 4;
  const RunResult course = *RunToTheEnd(limited, running);
  ASSERT_EQ(course.course.size(), 3u) << "generations 0, 4 and 8";
  EXPECT_EQ(course.course[0], 7.0f);
  RunByHandCourse byHand(limited);
  EXPECT_EQ(course.course[1], byHand.AverageAfter(4));
  EXPECT_EQ(course.course[2], byHand.AverageAfter(8));

  RunPlan perfect = DesignTimePlan(1);
  perfect.settings.populationSize = 10;
  perfect.settings.mutationsPerCycle = 1000;
  perfect.settings.goodMutationProbability = 1;
  perfect.settings.startingGeneValue = 8;
  perfect.courseStep = 1;
  const RunResult detected = *RunToTheEnd(perfect, running);
  ASSERT_EQ(detected.generations, 1);
  EXPECT_EQ(detected.course, std::vector<float>({8.0f})) << "generation 1 was not completed";
}

// Runs that never end by themselves, the first with a mutation pass of two billion mutations:
// Cancel stops it within its pass (a stop between generations would take many minutes, and the
// test its time out), and the finished runs keep their results.
TEST(RepeatedRunsTest, CancelStopsEveryRunWithinABlockAndKeepsTheFinishedOnes) {
  std::vector<RunPlan> plans;
  for (int i = 0; i < 2; ++i) plans.push_back(DesignTimePlan(RunSeed(7, i), 2));
  plans.push_back(DesignTimePlan(RunSeed(7, 2), 1'000'000'000));
  plans.back().settings.mutationsPerCycle = 2'147'483'647;
  plans.push_back(DesignTimePlan(RunSeed(7, 3), 1'000'000'000));
  plans.back().settings.options.autoMutation = false;
  auto runs = std::make_unique<RepeatedRuns>(plans, 1);
  while (runs->Now().finished < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  runs->Cancel();
  const RepeatedRuns::Progress stopped = AtTheEnd(*runs);
  EXPECT_EQ(stopped.finished, 2);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(stopped.results[i] != nullptr, i < 2) << i;
  EXPECT_FALSE(stopped.failure.has_value()) << "a cancel is no failure";

  // The window closed in the middle of the pass: the workers are gone within a block.
  plans.erase(plans.begin(), plans.begin() + 2);
  runs = std::make_unique<RepeatedRuns>(plans, 2);
  runs.reset();
}

// Settings that the main window would not take reach no run, however the runs are asked for:
// neither a population that would need the machine's memory nor a probability out of range.
TEST(RepeatedRunsTest, RefuseWhatTheMainWindowWouldNotTake) {
  const struct {
    Setting setting;
    double value;
  } cases[] = {{Setting::PopulationSize, 30'000'000},
               {Setting::PopulationSize, 9},
               {Setting::GoodMutationProbability, 3e38},
               {Setting::GoodMutationProbability, -1},
               {Setting::GoodMutationProbability, std::nan("")},
               {Setting::StartingGeneValue, 9}};
  for (const auto& c : cases) {
    std::vector<RunPlan> plans = {DesignTimePlan(1)};
    SetValue(plans[0].settings, c.setting, c.value);
    try {
      RepeatedRuns runs(plans);
      ADD_FAILURE() << "ran " << c.value;
    } catch (const EngineError& refusal) {
      const auto* refused = std::get_if<RefusedSetting>(&refusal.problem());
      ASSERT_NE(refused, nullptr) << c.value;
      EXPECT_EQ(refused->setting, c.setting) << c.value;
    }
  }
}

// A store that cannot grow past what a population of a hundred needs, as memory that runs out.
class StarvedStore : public MemoryStore {
 public:
  void Reserve(std::int64_t count) {
    if (count > 200) throw std::bad_alloc();
    MemoryStore::Reserve(count);
  }
};

// No failure leaves a worker: the batch ends with it, in words the window can say, and the runs
// finished keep their results.
TEST(RepeatedRunsTest, AFailingRunEndsTheBatchWithItsProblemAndKeepsTheFinishedRuns) {
  std::vector<RunPlan> plans = Batch(11, 3);
  plans.push_back(DesignTimePlan(RunSeed(11, 3)));
  plans.back().settings.populationSize = 101;
  plans.push_back(DesignTimePlan(RunSeed(11, 4)));
  RepeatedRuns runs(plans, 1, RunOver<StarvedStore>);
  const RepeatedRuns::Progress failed = AtTheEnd(runs);
  EXPECT_EQ(failed.finished, 3);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(failed.results[i] != nullptr, i < 3) << i;
  ASSERT_TRUE(failed.failure.has_value());
  EXPECT_TRUE(*failed.failure == Problem(OutOfMemory{101, 1}));
}

// The system refuses the second worker's thread: the batch does not start, saying what memory
// it lacked, and the first worker, in a run that never ends by itself, is stopped before the
// refusal comes back.
TEST(RepeatedRunsTest, AWorkerTheSystemCannotStartRefusesTheBatchAndStopsTheOthers) {
  std::atomic<int> running{0};
  const RepeatedRuns::Runner endless = [&running](const RunPlan&, const std::atomic<bool>& stop) {
    ++running;
    while (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    --running;
    return std::optional<RunResult>();
  };
  int started = 0;
  const RepeatedRuns::ThreadStarter refusingTheSecond = [&started](std::function<void()> work) {
    if (++started == 2)
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    return std::jthread(std::move(work));
  };
  std::vector<RunPlan> plans = Batch(3, 4);
  plans[2].settings.populationSize = 500;
  try {
    const RepeatedRuns runs(plans, 2, endless, refusingTheSecond);
    ADD_FAILURE() << "the batch started";
  } catch (const EngineError& refusal) {
    EXPECT_TRUE(refusal.problem() == Problem(OutOfMemory{500, 2}));
  }
  EXPECT_EQ(started, 2);
  EXPECT_EQ(running, 0) << "a worker was left running";
}

// A batch seen as ended is seen whole: the runs end here between the two reads of a look at
// them, which then sees them whole but not ended, and the next sees them ended.
TEST(RepeatedRunsTest, ALookAtTheRunsThatSeesThemEndedSeesEveryRun) {
  std::atomic<bool> go{false};
  const RepeatedRuns::Runner waiting = [&go](const RunPlan& plan, const std::atomic<bool>& stop) {
    while (!go) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return RunToTheEnd(plan, stop);
  };
  RepeatedRuns runs(Batch(5, 4), 2, waiting);
  bool endedBetween = false;
  runs.betweenEndAndResults = [&] {
    if (endedBetween) return;
    endedBetween = true;
    go = true;
    while (!runs.Ended()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  for (RepeatedRuns::Progress look = runs.Now();; look = runs.Now()) {
    if (look.ended) {
      EXPECT_EQ(look.finished, 4);
      for (const auto& result : look.results) EXPECT_NE(result, nullptr);
      break;
    }
  }
  EXPECT_TRUE(endedBetween);
}

TEST(RunTallyTest, CountsTheEndingsAndSpreadsTheDetectedRuns) {
  const std::vector<RunResult> results = {{4, RunEnd::PerfectGenome, 8, {}},
                                          {1, RunEnd::AllBadGenome, 1, {}},
                                          {10, RunEnd::LimitReached, 7, {}},
                                          {2, RunEnd::PerfectGenome, 8, {}},
                                          {3, RunEnd::PerfectGenome, 8, {}}};
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
  row.result = {1234567, RunEnd::AllBadGenome, 2.0 / 3, {}};
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
