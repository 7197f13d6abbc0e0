// A population held in memory that knows which records were ever written, and counts every read
// of a record that never was: the simulation runs over it to show that it reads no such record.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file/population_file.h"

namespace evo::test {

class CheckingStore {
 public:
  void Open(const std::string& /*path*/) { writtenSinceOpen_ = 0; }
  void Close() { writtenSinceOpen_ = 0; }
  void CloseAndDelete(const std::string& /*path*/) {
    Close();
    records_.clear();
  }
  void CheckIntact() {}
  void SetRecordsInUse(std::int64_t /*count*/) {}
  void Reserve(std::int64_t /*count*/) {}

  void ReadRecord(std::int64_t k, Genome out) const {
    const bool written = k >= 1 && k <= static_cast<std::int64_t>(records_.size()) &&
                         records_[static_cast<std::size_t>(k - 1)].has_value();
    if (!written) {
      ++unwrittenReads;
      std::memset(out, ' ', kGenes);
      return;
    }
    std::memcpy(out, records_[static_cast<std::size_t>(k - 1)]->data(), kGenes);
  }

  void WriteRecord(std::int64_t k, const Genome genome) {
    if (k > static_cast<std::int64_t>(records_.size()))
      records_.resize(static_cast<std::size_t>(k));
    records_[static_cast<std::size_t>(k - 1)] = std::string(genome, kGenes);
    if (k > writtenSinceOpen_) writtenSinceOpen_ = k;
  }

  std::int64_t RecordsWrittenSinceOpen() const { return writtenSinceOpen_; }

  // The gene count reads the bytes in bulk; records never written are blanks there.
  std::string_view Bytes() const {
    bytes_.assign(records_.size() * kGenes, ' ');
    for (std::size_t k = 0; k < records_.size(); ++k) {
      if (records_[k]) bytes_.replace(k * kGenes, kGenes, *records_[k]);
    }
    return bytes_;
  }

  std::string Record(std::int64_t k) const {
    return records_.at(static_cast<std::size_t>(k - 1)).value_or("never written");
  }

  mutable long unwrittenReads = 0;

 private:
  std::vector<std::optional<std::string>> records_;
  std::int64_t writtenSinceOpen_ = 0;
  mutable std::string bytes_;  // the records laid end to end, for Bytes()
};

}  // namespace evo::test
