#include "engine/runs/compared_runs.h"

#include <algorithm>
#include <cmath>

#include "engine/record/csv_fields.h"
#include "engine/settings/setting_ranges.h"

namespace evo {
namespace {

std::int64_t TotalRuns(const BatchRequest& request) {
  const auto values = request.compared ? static_cast<std::int64_t>(request.values.size()) : 1;
  return std::max<std::int64_t>(request.runsPerValue, 0) * values;
}

// Generations between samples such that the samples of every run fit the budget, and a run to
// the limit takes at most kCourseSamplesPerRun of them.
std::int64_t CourseStepOf(const BatchRequest& request) {
  const std::int64_t runs = std::max<std::int64_t>(TotalRuns(request), 1);
  const std::int64_t samples = std::clamp<std::int64_t>(ComparedRuns::kCourseSampleBudget / runs, 2,
                                                        ComparedRuns::kCourseSamplesPerRun);
  const std::int64_t limit = std::max<std::int64_t>(request.generationLimit, 1);
  return (limit + samples - 2) / (samples - 1);
}

// A value of the compared setting that its field takes: a finite number in its range, whole
// for a count.
void RefuseUntaken(Setting setting, double value) {
  const SettingRange range = AcceptedRange(setting);
  if (!std::isfinite(value) || !range.Holds(value) || (range.whole && value != std::floor(value))) {
    throw EngineError(RefusedSetting{setting, value});
  }
}

}  // namespace

ComparedRuns::ComparedRuns(BatchRequest request)
    : request_(std::move(request)), courseStep_(CourseStepOf(request_)) {
  const std::vector<double> each = request_.compared ? request_.values : std::vector<double>{0};
  std::int64_t index = 0;
  for (std::size_t group = 0; group < each.size(); ++group) {
    RunSettings settings = request_.base;
    if (request_.compared) {
      RefuseUntaken(*request_.compared, each[group]);
      SetValue(settings, *request_.compared, each[group]);
    }
    if (const auto refused = FirstRefused(settings)) {
      throw EngineError(RefusedSetting{*refused, ValueOf(settings, *refused)});
    }
    for (std::int64_t i = 0; i < request_.runsPerValue; ++i, ++index) {
      plans_.push_back(
          {settings, request_.generationLimit, RunSeed(request_.seed, index), courseStep_, group});
    }
  }
}

std::size_t ComparedRuns::GroupCount() const {
  return request_.compared ? request_.values.size() : 1;
}

std::vector<RunGroup> ComparedRuns::Groups(const RunResults& results) const {
  std::vector<RunGroup> groups(GroupCount());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    if (request_.compared) groups[g].value = request_.values[g];
  }
  for (std::size_t i = 0; i < results.size() && i < plans_.size(); ++i) {
    if (results[i]) groups[plans_[i].group].runs.push_back(*results[i]);
  }
  for (RunGroup& group : groups) group.tally = Tally(group.runs);
  return groups;
}

std::vector<CoursePoint> ComparedRuns::Course(const RunGroup& group, std::int64_t courseStep) {
  std::vector<CoursePoint> course;
  std::vector<double> averages;
  for (std::size_t sample = 0;; ++sample) {
    averages.clear();
    for (const RunResult& run : group.runs) {
      if (sample < run.course.size()) averages.push_back(run.course[sample]);
    }
    if (averages.empty()) break;
    std::sort(averages.begin(), averages.end());
    course.push_back({static_cast<std::int64_t>(sample) * courseStep,
                      static_cast<std::int64_t>(averages.size()), Quantile(averages, 0.5),
                      Quantile(averages, 0.25), Quantile(averages, 0.75)});
  }
  return course;
}

std::string ComparedRuns::Csv(const RunResults& results) const {
  std::vector<RunRow> rows;
  for (std::size_t i = 0; i < results.size() && i < plans_.size(); ++i) {
    if (results[i]) {
      rows.push_back(
          {static_cast<std::int64_t>(i) + 1, plans_[i].seed, plans_[i].settings, *results[i]});
    }
  }
  return RunsCsv(rows);
}

std::string ComparedRuns::CourseCsv(const std::vector<RunGroup>& groups) const {
  std::string text = "generation,value,runs,median,lower quartile,upper quartile\r\n";
  for (const RunGroup& group : groups) {
    for (const CoursePoint& point : Course(group, courseStep_)) {
      csv::AppendNumber(text, point.generation);
      if (group.value) {
        csv::AppendNumber(text, *group.value);
      } else {
        csv::AppendText(text, "");
      }
      csv::AppendNumber(text, point.runs);
      // The course is sampled in single precision, and its figures are written to that precision:
      // 6.9565, not the 6.956500053405762 of the double that holds it.
      csv::AppendNumber(text, static_cast<float>(point.median));
      csv::AppendNumber(text, static_cast<float>(point.lowerQuartile));
      csv::AppendNumber(text, static_cast<float>(point.upperQuartile));
      csv::EndLine(text);
    }
  }
  return text;
}

}  // namespace evo
