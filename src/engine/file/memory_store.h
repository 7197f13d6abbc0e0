// A population held in a plain vector instead of critter.dat: for repeated runs, which never
// touch the file, and for the benchmark, which measures what the file costs against it. It
// behaves as the file does: reads past the end give blanks, and it only ever grows.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/record_store.h"

namespace evo {

class MemoryStore {
 public:
  // Like reopening the file: the bytes stay, the count of records written starts over.
  void Open(const std::string& /*path*/) { writtenSinceOpen_ = 0; }
  void Close() { writtenSinceOpen_ = 0; }
  void CloseAndDelete(const std::string& /*path*/) {
    Close();
    bytes_.clear();
  }
  // Nothing outside the program can change memory.
  void CheckIntact() {}
  void SetRecordsInUse(std::int64_t /*count*/) {}

  void Reserve(std::int64_t count) {
    if (count > 0) GrowTo(static_cast<std::size_t>(count) * kGenes);
  }

  void ReadRecord(std::int64_t k, Genome out) const {
    const std::size_t offset = static_cast<std::size_t>(k - 1) * kGenes;
    if (k >= 1 && offset + kGenes <= bytes_.size()) {
      std::memcpy(out, bytes_.data() + offset, kGenes);
    } else {
      for (std::size_t j = 0; j < kGenes; ++j) {
        out[j] = offset + j < bytes_.size() ? bytes_[offset + j] : ' ';
      }
    }
  }

  void WriteRecord(std::int64_t k, const Genome genome) {
    const std::size_t offset = static_cast<std::size_t>(k - 1) * kGenes;
    GrowTo(offset + kGenes);
    std::memcpy(bytes_.data() + offset, genome, kGenes);
    writtenSinceOpen_ = std::max(writtenSinceOpen_, k);
  }

  std::int64_t RecordsWrittenSinceOpen() const { return writtenSinceOpen_; }

  // Records 1 to count in place, counting as written; null when the store does not reach that
  // far.
  char* RecordsInPlace(std::int64_t count) {
    if (count < 0 || static_cast<std::size_t>(count) * kGenes > bytes_.size()) return nullptr;
    writtenSinceOpen_ = std::max(writtenSinceOpen_, count);
    return bytes_.data();
  }

  std::string_view Bytes() const { return {bytes_.data(), bytes_.size()}; }

  char ReadByte(std::int64_t position) const {
    const auto offset = static_cast<std::size_t>(position - 1);
    return position >= 1 && offset < bytes_.size() ? bytes_[offset] : ' ';
  }

 private:
  void GrowTo(std::size_t size) {
    if (size > bytes_.size()) bytes_.resize(size);
  }

  std::vector<char> bytes_;
  std::int64_t writtenSinceOpen_ = 0;
};

}  // namespace evo
