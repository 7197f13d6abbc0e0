// Every generation's figures since the population was created: the gene counts, the average gene
// and the settings that made them, one row at a time, in a bounded amount of memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/record/gene_summary.h"
#include "engine/settings/run_settings.h"

namespace evo {

// What made a row: the creation of the population, a completed generation, or the user's
// mutation pass between generations.
enum class RowEvent : std::uint8_t { Created, Generation, Mutations };

// Why a run ended, on the last row it made; None on every other row.
enum class StopReason : std::uint8_t { None, PerfectGenome, AllBadGenome, HaltedByUser };

struct GenerationRow {
  std::int64_t generation = 0;  // generations completed since the population was created
  RowEvent event = RowEvent::Created;
  RunSettings settings;  // in effect when the row was made, the gene value of the creation
  GeneSummary figures;
  StopReason stop = StopReason::None;
};

class GenerationRecord {
 public:
  // Every row is kept up to this many; past it, rows are thinned to every second generation,
  // then every fourth, and so on. A power of two, so the rows' storage never grows past it.
  static constexpr std::size_t kMaxRows = std::size_t{1} << 17;

  // Adds the row of an event: a creation starts again at generation 0, a generation counts one
  // more, a mutation pass shares the generation before it.
  void Add(RowEvent event, const RunSettings& settings, const GeneSummary& figures);
  // Marks the newest row as the one a run stopped at, for that reason.
  void MarkStop(StopReason reason);
  // Forgets every row: the population is gone.
  void Clear();

  const std::vector<GenerationRow>& Rows() const { return rows_; }
  // 1 while every row is kept; n when only every nth generation is (and the newest row).
  std::int64_t GenerationSpacing() const { return spacing_; }

 private:
  bool KeptAtSpacing(std::size_t index) const;
  void Thin();

  std::vector<GenerationRow> rows_;
  std::int64_t generations_ = 0;
  std::int64_t spacing_ = 1;
};

}  // namespace evo
