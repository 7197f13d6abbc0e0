// A population held in a plain vector instead of critter.dat: for repeated runs, which never
// touch the file, and for the benchmark, which measures what the file costs against it. It
// behaves as the file does: reads past the end give blanks, and it only ever grows.
//
// Nothing outside the program can change memory, so beside each record it keeps what an
// examination of selection needs, its mark: worked out whenever the record is written, and read
// in one load where the file's genes would be summed again at every examination.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/record_store.h"
#include "engine/record_words.h"

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
    marks_[static_cast<std::size_t>(k - 1)] = MarkOf(genome);
    writtenSinceOpen_ = std::max(writtenSinceOpen_, k);
  }

  std::int64_t RecordsWrittenSinceOpen() const { return writtenSinceOpen_; }

  // Records 1 to count in place with their marks, counting as written; nulls when the store
  // does not reach that far. Whoever writes a record in place writes its mark with it.
  MarkedRecordsInPlace RecordsAndMarksInPlace(std::int64_t count) {
    if (count < 0 || static_cast<std::size_t>(count) * kGenes > bytes_.size()) return {};
    writtenSinceOpen_ = std::max(writtenSinceOpen_, count);
    return {bytes_.data(), marks_.data()};
  }

  std::string_view Bytes() const { return {bytes_.data(), bytes_.size()}; }

  char ReadByte(std::int64_t position) const {
    const auto offset = static_cast<std::size_t>(position - 1);
    return position >= 1 && offset < bytes_.size() ? bytes_[offset] : ' ';
  }

 private:
  // Grows by whole records, whose bytes of 0 hold no digit: their marks are 0.
  void GrowTo(std::size_t size) {
    if (size <= bytes_.size()) return;
    bytes_.resize(size);
    marks_.resize(size / kGenes);
  }

  std::vector<char> bytes_;
  std::vector<RecordMark> marks_;
  std::int64_t writtenSinceOpen_ = 0;
};

}  // namespace evo
