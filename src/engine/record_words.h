// A record's ten genes handled as one 8-byte and one 2-byte word instead of byte by byte. Each
// word is loaded exactly where and as wide as a record copy stores it, so a load right after the
// copy is served from the store and never waits for it to reach the cache.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/record_store.h"

namespace evo {

// The value of a gene character: its digit, 0 for anything that is not a digit (which is what
// NumericValue reads from a one-character text).
inline int GeneValue(char gene) {
  return gene >= '0' && gene <= '9' ? gene - '0' : 0;
}

// The gene sum of a record and whether it holds the gene '0', for the survival test.
struct Examination {
  int geneSum = 0;
  bool zeroGene = false;
};

// The ten genes side by side in the lanes of one vector register, whatever bytes they hold: no
// branch, and no way apart for a record with a byte that is no digit.
inline Examination Examine(const Genome genome) {
  using Words = std::uint64_t __attribute__((vector_size(16)));
  using Lanes = unsigned char __attribute__((vector_size(16)));
  std::uint64_t low;
  std::uint16_t high;
  std::memcpy(&low, genome, sizeof low);
  std::memcpy(&high, genome + sizeof low, sizeof high);
  // The six lanes past the genes hold 0, which is neither a digit nor '0'.
  const auto genes = reinterpret_cast<Lanes>(Words{low, high});
  const Lanes values = genes - '0';
  // A lane below '0' wraps round to above 9 as well; each comparison gives a lane of all ones
  // where it holds.
  const auto digitValues = reinterpret_cast<Words>(values & (values <= 9));
  const auto zeros = reinterpret_cast<Words>(genes == '0');
  // The two words' values added lane by lane (at most 9 + 9), then every lane summed into the
  // top one by one multiplication (at most 90, so no lane carries into the next).
  Examination result;
  result.geneSum =
      static_cast<int>(((digitValues[0] + digitValues[1]) * 0x0101010101010101u) >> 56);
  result.zeroGene = (zeros[0] | zeros[1]) != 0;
  return result;
}

// An examination of a record in one byte, for stores that keep it beside each record: the gene
// sum, with kZeroGeneMark added when the record holds the gene '0'.
using RecordMark = std::uint8_t;
inline constexpr RecordMark kZeroGeneMark = 128;

inline RecordMark MarkOf(const Genome genome) {
  const Examination examined = Examine(genome);
  return static_cast<RecordMark>(examined.geneSum + (examined.zeroGene ? kZeroGeneMark : 0));
}

inline Examination ExaminationOf(RecordMark mark) {
  return {mark & (kZeroGeneMark - 1), mark >= kZeroGeneMark};
}

// Records in place and their marks, as a store with marks hands them out; null where it does
// not hold them so.
struct MarkedRecordsInPlace {
  char* records = nullptr;
  RecordMark* marks = nullptr;
};

// Genes 1 to 5 of first followed by genes 6 to 10 of second, into out (which may be either).
inline void JoinHalves(const Genome first, const Genome second, Genome out) {
  constexpr std::uint64_t kFirstFiveBytes =
      std::endian::native == std::endian::little ? 0x000000ffffffffffu : 0xffffffffff000000u;
  std::uint64_t a;
  std::uint64_t b;
  std::uint16_t high;
  std::memcpy(&a, first, sizeof a);
  std::memcpy(&b, second, sizeof b);
  std::memcpy(&high, second + sizeof b, sizeof high);
  const std::uint64_t joined = (a & kFirstFiveBytes) | (b & ~kFirstFiveBytes);
  std::memcpy(out, &joined, sizeof joined);
  std::memcpy(out + sizeof joined, &high, sizeof high);
}

}  // namespace evo
