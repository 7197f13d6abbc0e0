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

// The byte b in every byte of a word.
template <typename Word>
constexpr Word EveryByte(std::uint8_t b) {
  return static_cast<Word>(static_cast<Word>(~Word{0}) / 0xff * b);
}

// Whether every byte of the word is a digit character: its high half 3 and its low half at most
// 9, which adding 6 keeps within the half.
template <typename Word>
constexpr bool AllDigits(Word word) {
  return static_cast<Word>(word & EveryByte<Word>(0xf0)) == EveryByte<Word>(0x30) &&
         static_cast<Word>(
             static_cast<Word>((word & EveryByte<Word>(0x0f)) + EveryByte<Word>(0x06)) &
             EveryByte<Word>(0xf0)) == 0;
}

// Whether no byte of a word of values 0 to 9 is 0: a value from 1 to 9 plus 0x7f sets the byte's
// top bit, 0 does not.
template <typename Word>
constexpr bool NoZeroByte(Word values) {
  return static_cast<Word>(static_cast<Word>(values + EveryByte<Word>(0x7f)) &
                           EveryByte<Word>(0x80)) == EveryByte<Word>(0x80);
}

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

// Summed one gene at a time, for a record that holds a byte that is no digit.
inline Examination ExamineByteByByte(const Genome genome) {
  Examination result;
  for (std::size_t j = 0; j < kGenes; ++j) {
    result.geneSum += GeneValue(genome[j]);
    result.zeroGene |= genome[j] == '0';
  }
  return result;
}

inline Examination Examine(const Genome genome) {
  std::uint64_t low;
  std::uint16_t high;
  std::memcpy(&low, genome, sizeof low);
  std::memcpy(&high, genome + sizeof low, sizeof high);
  if (!AllDigits(low) || !AllDigits(high)) return ExamineByteByByte(genome);
  // The digits' values, at most 9 a byte: the ones of the short word added into two bytes of the
  // long one, then every byte summed into the top byte by one multiplication (at most 90, so no
  // byte carries into the next).
  const std::uint64_t values = low & EveryByte<std::uint64_t>(0x0f);
  const auto highValues = static_cast<std::uint16_t>(high & EveryByte<std::uint16_t>(0x0f));
  Examination result;
  result.geneSum = static_cast<int>(((values + highValues) * EveryByte<std::uint64_t>(1)) >> 56);
  result.zeroGene = !NoZeroByte(values) || !NoZeroByte(highValues);
  return result;
}

// Genes 1 to 5 of first followed by genes 6 to 10 of second, into out (which may be first).
inline void JoinHalves(const Genome first, const Genome second, Genome out) {
  constexpr std::uint64_t kFirstFiveBytes =
      std::endian::native == std::endian::little ? 0x000000ffffffffffu : 0xffffffffff000000u;
  std::uint64_t a;
  std::uint64_t b;
  std::memcpy(&a, first, sizeof a);
  std::memcpy(&b, second, sizeof b);
  const std::uint64_t joined = (a & kFirstFiveBytes) | (b & ~kFirstFiveBytes);
  std::memcpy(out, &joined, sizeof joined);
  std::memcpy(out + sizeof joined, second + sizeof joined, kGenes - sizeof joined);
}

}  // namespace evo
