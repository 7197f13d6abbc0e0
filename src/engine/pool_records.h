// The records of a generation's pool as its reproduction and selection loops read, examine and
// move them: in place where the store holds the whole pool so, through the store's record calls
// otherwise.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/record_store.h"
#include "engine/record_words.h"

namespace evo {

template <RecordStore Store>
class StoreRecords {
 public:
  explicit StoreRecords(Store& store) : store_(store) {}

  void Read(std::int64_t k, Genome out) const { store_.ReadRecord(k, out); }
  Examination Examine(std::int64_t k) const {
    Genome genome;
    Read(k, genome);
    return evo::Examine(genome);
  }
  void Move(std::int64_t from, std::int64_t to) {
    Genome genome;
    Read(from, genome);
    store_.WriteRecord(to, genome);
  }
  // A store kept elsewhere than in memory has nothing to fetch into the cache.
  void Prefetch(std::int64_t /*first*/, std::int64_t /*last*/) const {}

 private:
  Store& store_;
};

// For a pool of at most the store's RecordCount() records: no check and no copy at an access.
// Another program cutting the file meanwhile only makes the accesses past the cut go on over
// zeros (see MappingWatch).
template <InPlaceStore Store>
class InPlaceRecords {
 public:
  explicit InPlaceRecords(Store& store) : records_(store.RecordsInPlace()) {}

  void Read(std::int64_t k, Genome out) const { std::memcpy(out, Record(k), kGenes); }
  Examination Examine(std::int64_t k) const { return evo::Examine(Record(k)); }
  // Both words are loaded before either is stored, so a record may move onto itself.
  void Move(std::int64_t from, std::int64_t to) {
    std::uint64_t low;
    std::uint16_t high;
    std::memcpy(&low, Record(from), sizeof low);
    std::memcpy(&high, Record(from) + sizeof low, sizeof high);
    std::memcpy(Record(to), &low, sizeof low);
    std::memcpy(Record(to) + sizeof low, &high, sizeof high);
  }

  // Asks the processor to bring records first to last (at most six, so on at most two cache
  // lines, those of their first and last byte) into the cache, for reads or writes coming soon.
  // A prefetch never faults, so records outside the store need no check: their addresses are
  // worked out as numbers, since a pointer outside the records would not be a valid one. Always
  // inline: the compiler takes a call that does nothing but prefetch for one without any effect,
  // and drops it.
  [[gnu::always_inline]] void Prefetch(std::int64_t first, std::int64_t last) const {
    __builtin_prefetch(Address(first, 0), 1);
    __builtin_prefetch(Address(last, kGenes - 1), 1);
  }

 private:
  // Byte `byte` of record k, which may lie outside the records.
  const void* Address(std::int64_t k, std::size_t byte) const {
    return reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(records_) +
                                         static_cast<std::uintptr_t>(k - 1) * kGenes + byte);
  }
  char* Record(std::int64_t k) const { return records_ + static_cast<std::size_t>(k - 1) * kGenes; }

  char* records_;
};

}  // namespace evo
