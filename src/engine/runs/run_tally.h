// What repeated runs found: how each run ended and after how many generations, the counts and
// quantiles of those figures, and the runs as comma-separated values.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/settings/run_settings.h"

namespace evo {

enum class RunEnd : std::uint8_t { PerfectGenome, AllBadGenome, LimitReached };

struct RunResult {
  // The generation the run ended in: the one whose mutation pass made the perfect or the
  // all-bad genome, or the limit.
  std::int64_t generations = 0;
  RunEnd end = RunEnd::LimitReached;
  double averageGene = 0;  // at the end
  // The average gene after every courseStep-th completed generation from creation (0), as far as
  // the run completed generations: a run ends at a detection or at the limit.
  std::vector<float> course;

  bool operator==(const RunResult&) const = default;
};

// A finished run: its number from 1, the seed of its random source, its settings and its result.
struct RunRow {
  std::int64_t run = 0;
  std::uint32_t seed = 0;
  RunSettings settings;
  RunResult result;
};

// The spread of the generations of the runs that ended in a genome detected, quartiles by linear
// interpolation between the sorted figures (the median of 1, 2, 3, 4 is 2.5).
struct GenerationSpread {
  std::int64_t runs = 0;
  double minimum = 0;
  double lowerQuartile = 0;
  double median = 0;
  double upperQuartile = 0;
  double maximum = 0;
  double mean = 0;
};

struct RunTally {
  std::int64_t perfect = 0;
  std::int64_t allBad = 0;
  std::int64_t atLimit = 0;
  GenerationSpread ended;  // over the perfect and the all-bad runs
};

RunTally Tally(std::span<const RunResult> results);

// The figure at fraction q of the way through the sorted figures (at least one), by linear
// interpolation between its neighbours.
double Quantile(std::span<const double> sorted, double q);

// A first row naming the columns, then one row per run in the order given, lines ended by CR LF:
// run, seed, population size, good mutation probability, mutations per cycle, sexual exchange,
// auto mutation, starting gene value, generations, end, average gene.
std::string RunsCsv(std::span<const RunRow> rows);

}  // namespace evo
