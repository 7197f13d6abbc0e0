#include "engine/runs/run_tally.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "engine/record/csv_fields.h"

namespace evo {
namespace {

constexpr char kHeader[] =
    "run,seed,population size,good mutation probability,mutations per cycle,sexual exchange,"
    "auto mutation,starting gene value,generations,end,average gene\r\n";

const char* EndName(RunEnd end) {
  switch (end) {
    case RunEnd::PerfectGenome:
      return "perfect genome";
    case RunEnd::AllBadGenome:
      return "all bad genome";
    case RunEnd::LimitReached:
      return "limit reached";
  }
  return "";
}

}  // namespace

double Quantile(std::span<const double> sorted, double q) {
  const double place = q * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(place));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  const double share = place - static_cast<double>(below);
  return sorted[below] + share * (sorted[above] - sorted[below]);
}

RunTally Tally(std::span<const RunResult> results) {
  RunTally tally;
  std::vector<double> ended;
  for (const RunResult& result : results) {
    switch (result.end) {
      case RunEnd::PerfectGenome:
        ++tally.perfect;
        break;
      case RunEnd::AllBadGenome:
        ++tally.allBad;
        break;
      case RunEnd::LimitReached:
        ++tally.atLimit;
        continue;
    }
    ended.push_back(static_cast<double>(result.generations));
  }
  if (ended.empty()) return tally;
  std::sort(ended.begin(), ended.end());
  GenerationSpread& spread = tally.ended;
  spread.runs = static_cast<std::int64_t>(ended.size());
  spread.minimum = ended.front();
  spread.lowerQuartile = Quantile(ended, 0.25);
  spread.median = Quantile(ended, 0.5);
  spread.upperQuartile = Quantile(ended, 0.75);
  spread.maximum = ended.back();
  spread.mean = std::accumulate(ended.begin(), ended.end(), 0.0) / static_cast<double>(spread.runs);
  return tally;
}

std::string RunsCsv(std::span<const RunRow> rows) {
  std::string text = kHeader;
  for (const RunRow& row : rows) {
    csv::AppendNumber(text, row.run);
    csv::AppendNumber(text, row.seed);
    csv::AppendSettings(text, row.settings);
    csv::AppendNumber(text, row.result.generations);
    csv::AppendText(text, EndName(row.result.end));
    // The summary window's 15 significant digits.
    csv::AppendNumber(text, row.result.averageGene, std::chars_format::general, 15);
    csv::EndLine(text);
  }
  return text;
}

}  // namespace evo
