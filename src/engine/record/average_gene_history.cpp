#include "engine/record/average_gene_history.h"

#include <algorithm>

namespace evo {

void AverageSpan::Absorb(const AverageSpan& next) {
  lastGeneration = next.lastGeneration;
  last = next.last;
  lowest = std::min(lowest, next.lowest);
  highest = std::max(highest, next.highest);
  records += next.records;
}

void AverageGeneHistory::AddAtCreation(double average) {
  Clear();
  Add(average);
}

void AverageGeneHistory::AddAfterGeneration(double average) {
  ++generations_;
  Add(average);
}

void AverageGeneHistory::AddAfterMutations(double average) {
  Add(average);
}

void AverageGeneHistory::Clear() {
  spans_.clear();
  spans_.shrink_to_fit();
  generations_ = 0;
  recordsPerSpan_ = 1;
}

void AverageGeneHistory::Add(double average) {
  const AverageSpan record{generations_, generations_, average, average, average, average, 1};
  if (!spans_.empty() && spans_.back().records < recordsPerSpan_) {
    spans_.back().Absorb(record);
    return;
  }
  if (spans_.size() == kMaxSpans) MergePairs();
  spans_.push_back(record);
}

// Only ever called with every span full and an even number of them, so every merged span holds
// the new number of records.
void AverageGeneHistory::MergePairs() {
  std::size_t kept = 0;
  for (std::size_t i = 0; i + 1 < spans_.size(); i += 2) {
    AverageSpan merged = spans_[i];
    merged.Absorb(spans_[i + 1]);
    spans_[kept++] = merged;
  }
  spans_.resize(kept);
  recordsPerSpan_ *= 2;
}

}  // namespace evo
