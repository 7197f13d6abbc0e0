// The course of the population's average gene since the population was created, held in memory
// in a bounded number of spans so that a run of any length fits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace evo {

// One or more neighbouring records of the average, merged. Generations count from the
// population's creation; records taken after a mutation pass share the generation before them.
struct AverageSpan {
  std::int64_t firstGeneration = 0;
  std::int64_t lastGeneration = 0;
  double first = 0;  // the average at the span's first record
  double last = 0;   // the average at its last record
  double lowest = 0;
  double highest = 0;
  std::int64_t records = 1;

  // Extends the span by the records of the span that follows it.
  void Absorb(const AverageSpan& next);
};

class AverageGeneHistory {
 public:
  // Past this many spans, neighbouring spans are merged in pairs.
  static constexpr std::size_t kMaxSpans = 4096;

  // Records the average of the population as it was created, at generation 0.
  void AddAtCreation(double average);
  // Records the average after one more completed generation.
  void AddAfterGeneration(double average);
  // Records the average after a mutation pass outside a generation: no generation passes.
  void AddAfterMutations(double average);
  // Forgets everything: the population is new or gone.
  void Clear();

  const std::vector<AverageSpan>& Spans() const { return spans_; }
  std::int64_t GenerationsSinceCreation() const { return generations_; }

 private:
  void Add(double average);
  void MergePairs();

  std::vector<AverageSpan> spans_;
  std::int64_t generations_ = 0;
  // Every span but the last holds this many records; it doubles with every merge of pairs, so
  // the spans stay evenly spaced however long the population lives.
  std::int64_t recordsPerSpan_ = 1;
};

}  // namespace evo
