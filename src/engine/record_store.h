// What the simulation needs of the place its population lives in: the population file, and the
// stores in memory that the benchmark and the tests run the same simulation over.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace evo {

inline constexpr std::size_t kGenes = 10;
using Genome = char[kGenes];

// Records of ten genes, record k (k >= 1) at byte 10k - 10 of the store's bytes.
//
// - Open starts a new count of the records written, keeping what the store holds; Close ends it.
//   CloseAndDelete closes and removes what path names, when the store can.
// - SetRecordsInUse says that records 1 to count hold the population; CheckIntact throws
//   FileError when they may no longer be all there as written.
// - Reserve makes room for records 1 to count, so that writing them cannot fail half-way.
// - ReadRecord of a record past the end yields blanks; WriteRecord grows the store as needed.
// - RecordsWrittenSinceOpen is the highest record written since Open.
// - Bytes are the store's bytes as they stand, for reading many at once.
template <typename Store>
concept RecordStore = requires(Store store, const Store& constStore, const std::string& path,
                               std::int64_t k, Genome genome) {
  store.Open(path);
  store.Close();
  store.CloseAndDelete(path);
  store.CheckIntact();
  store.Reserve(k);
  constStore.ReadRecord(k, genome);
  store.WriteRecord(k, genome);
  { constStore.RecordsWrittenSinceOpen() } -> std::convertible_to<std::int64_t>;
  { constStore.Bytes() } -> std::convertible_to<std::string_view>;
};

// A store that can hand out records 1 to count (k) in place: lying in memory one after the other,
// record k at byte 10k - 10, counting as written; or null where it does not hold them so.
template <typename Store>
concept InPlaceStore = RecordStore<Store> && requires(Store store, std::int64_t k) {
  { store.RecordsInPlace(k) } -> std::same_as<char*>;
};

}  // namespace evo
