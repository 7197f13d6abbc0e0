// A batch of repeated runs as a teacher asks for one: the main window's settings run many times,
// once or for each of several values of one setting compared, and what the runs of each value
// came to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/runs/repeated_runs.h"
#include "engine/runs/run_tally.h"
#include "engine/setting.h"

namespace evo {

struct BatchRequest {
  RunSettings base;                 // the main window's settings
  std::optional<Setting> compared;  // nothing when the runs compare nothing
  std::vector<double> values;       // of the compared setting, in the order given
  std::int64_t runsPerValue = 0;
  std::int64_t generationLimit = 0;
  std::uint64_t seed = 0;
};

// The runs made with one value of the compared setting (all runs when none is compared).
struct RunGroup {
  std::optional<double> value;  // nothing when none is compared
  std::vector<RunResult> runs;  // those finished, in run order
  RunTally tally;
};

// The course of the average gene over the generations of the runs of one group, at each
// generation sampled: over the runs that had not ended by then, how many and the median and the
// middle half of their averages. A run that ended counts no more.
struct CoursePoint {
  std::int64_t generation = 0;
  std::int64_t runs = 0;  // that had completed this many generations
  double median = 0;
  double lowerQuartile = 0;
  double upperQuartile = 0;
};

class ComparedRuns {
 public:
  // The samples of every run's course, all runs of a batch together, at most: a course takes as
  // many samples as this leaves each run, and at most kCourseSamplesPerRun.
  static constexpr std::int64_t kCourseSampleBudget = 4'000'000;
  static constexpr std::int64_t kCourseSamplesPerRun = 501;

  // Plans runsPerValue runs for each value in turn (once for none compared), the value set in
  // the compared setting alone; run i of the whole batch (from 0) is seeded RunSeed(seed, i).
  // Throws EngineError (RefusedSetting) for a value that the main window would not take.
  explicit ComparedRuns(BatchRequest request);

  const BatchRequest& Request() const { return request_; }
  const std::vector<RunPlan>& Plans() const { return plans_; }
  // The generations between two samples of a run's course.
  std::int64_t CourseStep() const { return courseStep_; }
  std::size_t GroupCount() const;

  // The finished runs of each group, and each group's tally.
  std::vector<RunGroup> Groups(const RunResults& results) const;
  // Each group's course, at every generation sampled that some run of it completed.
  static std::vector<CoursePoint> Course(const RunGroup& group, std::int64_t courseStep);

  // The finished runs as RunsCsv writes them, in run order.
  std::string Csv(const RunResults& results) const;
  // The courses of the groups: generation, value (empty when none is compared), runs, median,
  // lower quartile, upper quartile, lines ended by CR LF.
  std::string CourseCsv(const std::vector<RunGroup>& groups) const;

 private:
  BatchRequest request_;
  std::int64_t courseStep_;
  std::vector<RunPlan> plans_;
};

}  // namespace evo
