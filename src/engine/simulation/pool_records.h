// The records of a generation's pool as its loops read, examine, copy and join them: in place
// where the store holds the whole pool in memory, through the store's record calls otherwise.
#pragma once

#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

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
  void Copy(std::int64_t from, std::int64_t to) {
    Genome genome;
    Read(from, genome);
    store_.WriteRecord(to, genome);
  }
  // Genes 1 to 5 of record first and 6 to 10 of record second into record to.
  void Join(std::int64_t first, std::int64_t second, std::int64_t to) {
    Genome firstGenome;
    Genome secondGenome;
    Read(first, firstGenome);
    Read(second, secondGenome);
    JoinHalves(firstGenome, secondGenome, firstGenome);
    store_.WriteRecord(to, firstGenome);
  }
  // A store kept elsewhere than in memory has nothing to fetch into the cache.
  void Prefetch(std::int64_t /*first*/, std::int64_t /*last*/) const {}

 private:
  Store& store_;
};

// The same over records that lie in memory one after the other, record k at byte 10k - 10: no
// check and no copy through a buffer at an access, for the records the store handed out in
// place.
class InPlaceRecords {
 public:
  explicit InPlaceRecords(char* records) : records_(records) {}

  void Read(std::int64_t k, Genome out) const { std::memcpy(out, Record(k), kGenes); }
  Examination Examine(std::int64_t k) const { return evo::Examine(Record(k)); }
  // Both words are loaded before either is stored, so a record may be copied onto itself.
  void Copy(std::int64_t from, std::int64_t to) {
    std::uint64_t low;
    std::uint16_t high;
    std::memcpy(&low, Record(from), sizeof low);
    std::memcpy(&high, Record(from) + sizeof low, sizeof high);
    std::memcpy(Record(to), &low, sizeof low);
    std::memcpy(Record(to) + sizeof low, &high, sizeof high);
  }
  void Join(std::int64_t first, std::int64_t second, std::int64_t to) {
    JoinHalves(Record(first), Record(second), Record(to));
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

 protected:
  // Byte `byte` of record k, which may lie outside the records.
  const void* Address(std::int64_t k, std::size_t byte) const {
    return reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(records_) +
                                         static_cast<std::uintptr_t>(k - 1) * kGenes + byte);
  }
  char* Record(std::int64_t k) const { return records_ + static_cast<std::size_t>(k - 1) * kGenes; }

  char* records_;
};

// A store that keeps each record's mark beside it and hands out both in place.
template <typename Store>
concept MarkedStore = RecordStore<Store> && requires(Store store, std::int64_t k) {
  { store.RecordsAndMarksInPlace(k) } -> std::same_as<MarkedRecordsInPlace>;
};

// The same with each record's mark kept in step: an examination is one load of the mark, and a
// record is summed once, when it is born of a join.
class MarkedInPlaceRecords : public InPlaceRecords {
 public:
  explicit MarkedInPlaceRecords(MarkedRecordsInPlace held)
      : InPlaceRecords(held.records), marks_(held.marks) {}

  Examination Examine(std::int64_t k) const { return ExaminationOf(Mark(k)); }
  // The least and the greatest mark of records 1 to count (count >= 1).
  std::pair<RecordMark, RecordMark> MarkRange(std::int64_t count) const {
    RecordMark least = marks_[0];
    RecordMark greatest = marks_[0];
    for (std::size_t i = 1; i < static_cast<std::size_t>(count); ++i) {
      least = std::min(least, marks_[i]);
      greatest = std::max(greatest, marks_[i]);
    }
    return {least, greatest};
  }
  void Copy(std::int64_t from, std::int64_t to) {
    InPlaceRecords::Copy(from, to);
    Mark(to) = Mark(from);
  }
  void Join(std::int64_t first, std::int64_t second, std::int64_t to) {
    InPlaceRecords::Join(first, second, to);
    Mark(to) = MarkOf(Record(to));
  }
  [[gnu::always_inline]] void Prefetch(std::int64_t first, std::int64_t last) const {
    InPlaceRecords::Prefetch(first, last);
    __builtin_prefetch(reinterpret_cast<const void*>(reinterpret_cast<std::uintptr_t>(marks_) +
                                                     static_cast<std::uintptr_t>(first - 1)),
                       1);
  }

 private:
  RecordMark& Mark(std::int64_t k) const { return marks_[static_cast<std::size_t>(k - 1)]; }

  RecordMark* marks_;
};

}  // namespace evo
