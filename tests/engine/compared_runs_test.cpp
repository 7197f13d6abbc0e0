// A batch of compared runs: each value planned into its own setting alone, the whole batch
// seeded run by run, the results grouped under the value that made them, and the course of the
// average gene of each group.
#include "engine/runs/compared_runs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace evo::test {
namespace {

// Settings in which every setting that can be compared stands apart from the values compared.
BatchRequest DistinctRequest(std::optional<Setting> compared, std::vector<double> values) {
  BatchRequest request;
  request.base = {500, 0.5f, 20, 50, 5, {false, true}};
  request.compared = compared;
  request.values = std::move(values);
  request.runsPerValue = 3;
  request.generationLimit = 700;
  request.seed = 99;
  return request;
}

TEST(ComparedRunsTest, PlansEachValueIntoItsOwnSettingAloneAndSeedsTheWholeBatch) {
  const struct {
    Setting setting;
    std::vector<double> values;
  } cases[] = {{Setting::PopulationSize, {10, 1'000'000}},
               {Setting::GoodMutationProbability, {0.05, 1}},
               {Setting::MutationsPerCycle, {0, 2'147'483'647}},
               {Setting::StartingGeneValue, {1, 8}}};
  for (const auto& c : cases) {
    const BatchRequest request = DistinctRequest(c.setting, c.values);
    const ComparedRuns batch(request);
    ASSERT_EQ(batch.Plans().size(), 6u);
    ASSERT_EQ(batch.GroupCount(), 2u);
    for (std::size_t i = 0; i < 6; ++i) {
      const RunPlan& plan = batch.Plans()[i];
      RunSettings expected = request.base;
      SetValue(expected, c.setting, c.values[i / 3]);
      EXPECT_EQ(plan.settings, expected) << "run " << i << " of setting " << int(c.setting);
      EXPECT_EQ(plan.group, i / 3);
      EXPECT_EQ(plan.seed, RunSeed(99, static_cast<std::int64_t>(i))) << "across the values";
      EXPECT_EQ(plan.generationLimit, 700);
    }
  }
  const ComparedRuns once(DistinctRequest(std::nullopt, {.2, .3}));
  ASSERT_EQ(once.Plans().size(), 3u) << "values unused when nothing is compared";
  EXPECT_EQ(once.Plans()[2].settings, DistinctRequest(std::nullopt, {}).base);
}

// A value refused names its setting; nothing is planned.
TEST(ComparedRunsTest, RefusesAValueItsFieldWouldNotTake) {
  const struct {
    Setting setting;
    double value;
  } cases[] = {{Setting::PopulationSize, 9},
               {Setting::PopulationSize, 100.5},
               {Setting::PopulationSize, 1e12},
               {Setting::GoodMutationProbability, std::nan("")},
               {Setting::GoodMutationProbability, INFINITY},
               {Setting::GoodMutationProbability, 1.01},
               {Setting::MutationsPerCycle, 2.5},
               {Setting::StartingGeneValue, 0}};
  for (const auto& c : cases) {
    try {
      const ComparedRuns batch(DistinctRequest(c.setting, {c.value}));
      ADD_FAILURE() << "planned " << c.value;
    } catch (const EngineError& refusal) {
      const auto* refused = std::get_if<RefusedSetting>(&refusal.problem());
      ASSERT_NE(refused, nullptr);
      EXPECT_EQ(refused->setting, c.setting) << c.value;
    }
  }
  BatchRequest badBase = DistinctRequest(Setting::MutationsPerCycle, {1});
  badBase.base.startingGeneValue = 9;
  EXPECT_THROW(ComparedRuns{badBase}, EngineError) << "the main window's own settings too";
}

// Results land under the value whose plan made them, whatever order they finished in.
TEST(ComparedRunsTest, GroupsTheResultsUnderTheValueThatMadeThem) {
  const ComparedRuns batch(DistinctRequest(Setting::StartingGeneValue, {2, 7}));
  RunResults results(6);
  for (const std::size_t i : {5u, 0u, 4u, 1u}) {
    results[i] = std::make_shared<RunResult>(
        RunResult{static_cast<std::int64_t>(10 * i), RunEnd::PerfectGenome, 0, {}});
  }
  const std::vector<RunGroup> groups = batch.Groups(results);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_EQ(groups[0].value, 2);
  EXPECT_EQ(groups[1].value, 7);
  ASSERT_EQ(groups[0].runs.size(), 2u);
  EXPECT_EQ(groups[0].runs[0].generations, 0);
  EXPECT_EQ(groups[0].runs[1].generations, 10);
  ASSERT_EQ(groups[1].runs.size(), 2u);
  EXPECT_EQ(groups[1].runs[0].generations, 40);
  EXPECT_EQ(groups[1].tally.ended.median, 45);
}

// The course of a group over the runs still going at each sampled generation: three runs at
// generation 0, two at the next sample, one at the last.
TEST(ComparedRunsTest, FollowsTheCourseOfTheRunsStillGoing) {
  BatchRequest request = DistinctRequest(Setting::GoodMutationProbability, {.1, .2});
  request.runsPerValue = 3;
  const ComparedRuns batch(request);
  RunResults results(6);
  const std::vector<std::vector<float>> courses = {{7, 8, 9}, {7, 7.5f}, {7}};
  for (std::size_t i = 0; i < 3; ++i) {
    results[i] = std::make_shared<RunResult>(RunResult{1, RunEnd::LimitReached, 0, courses[i]});
  }
  results[3] = std::make_shared<RunResult>(RunResult{1, RunEnd::LimitReached, 0, {6, 6.9565f}});
  const std::vector<RunGroup> groups = batch.Groups(results);
  const std::int64_t step = batch.CourseStep();
  const std::vector<CoursePoint> course = ComparedRuns::Course(groups[0], step);
  ASSERT_EQ(course.size(), 3u);
  EXPECT_EQ(course[0].generation, 0);
  EXPECT_EQ(course[0].runs, 3);
  EXPECT_EQ(course[0].median, 7);
  EXPECT_EQ(course[1].generation, step);
  EXPECT_EQ(course[1].runs, 2);
  EXPECT_EQ(course[1].median, 7.75);
  EXPECT_EQ(course[1].lowerQuartile, 7.625);
  EXPECT_EQ(course[1].upperQuartile, 7.875);
  EXPECT_EQ(course[2].runs, 1);
  EXPECT_EQ(course[2].median, 9);

  const std::string s = std::to_string(step);
  const std::string s2 = std::to_string(2 * step);
  EXPECT_EQ(batch.CourseCsv(groups),
            "generation,value,runs,median,lower quartile,upper quartile\r\n"
            "0,0.1,3,7,7,7\r\n" +
                s + ",0.1,2,7.75,7.625,7.875\r\n" + s2 +
                ",0.1,1,9,9,9\r\n"
                "0,0.2,1,6,6,6\r\n" +
                s + ",0.2,1,6.9565,6.9565,6.9565\r\n")
      << "written to the precision of the samples";
}

// However many runs and generations, the courses of a batch take a bounded number of samples,
// and a run to the limit takes no more than its share.
TEST(ComparedRunsTest, BoundsTheSamplesOfTheCourses) {
  for (const std::int64_t runs : {1, 3000, 10'000}) {
    for (const std::int64_t limit : {1, 10'000, 1'000'000}) {
      BatchRequest request = DistinctRequest(Setting::StartingGeneValue, {1, 2, 3, 4, 5, 6, 7, 8});
      request.runsPerValue = runs;
      request.generationLimit = limit;
      const ComparedRuns batch(request);
      const std::int64_t samplesPerRun = limit / batch.CourseStep() + 1;
      EXPECT_LE(samplesPerRun, ComparedRuns::kCourseSamplesPerRun) << runs << " " << limit;
      EXPECT_LE(samplesPerRun * 8 * runs,
                std::max<std::int64_t>(ComparedRuns::kCourseSampleBudget, 2 * 8 * runs))
          << runs << " " << limit;
    }
  }
}

}  // namespace
}  // namespace evo::test
