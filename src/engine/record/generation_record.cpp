#include "engine/record/generation_record.h"

namespace evo {

void GenerationRecord::Add(RowEvent event, const RunSettings& settings,
                           const GeneSummary& figures) {
  if (event == RowEvent::Created) generations_ = 0;
  if (event == RowEvent::Generation) ++generations_;
  rows_.push_back({generations_, event, settings, figures});
  // The row before was kept only for being the newest, until it proves to be the last row of a
  // generation that the spacing keeps.
  if (rows_.size() >= 2 && !KeptAtSpacing(rows_.size() - 2)) rows_.erase(rows_.end() - 2);
  if (rows_.size() == kMaxRows) Thin();
}

void GenerationRecord::MarkStop(StopReason reason) {
  if (!rows_.empty()) rows_.back().stop = reason;
}

void GenerationRecord::Clear() {
  rows_ = {};
  generations_ = 0;
  spacing_ = 1;
}

// While thinned, a generation the spacing keeps keeps one row, the last one it had: the
// figures the generation ended with, after any mutation passes that followed it.
bool GenerationRecord::KeptAtSpacing(std::size_t index) const {
  if (spacing_ == 1 || index + 1 == rows_.size()) return true;
  const std::int64_t generation = rows_[index].generation;
  return generation % spacing_ == 0 && rows_[index + 1].generation != generation;
}

// Halves the rows or better: afterwards at most one row stands for every second generation
// kept so far, and the newest.
void GenerationRecord::Thin() {
  spacing_ *= 2;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (KeptAtSpacing(i)) rows_[kept++] = rows_[i];
  }
  rows_.resize(kept);
}

}  // namespace evo
