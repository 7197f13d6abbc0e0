// The population file: one 10-byte record per critter, record k at 1-based byte 10k - 9.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/engine_error.h"

namespace evo {

inline constexpr std::size_t kGenes = 10;
using Genome = char[kGenes];

// A failure of the file system: the text says what failed, for the user.
class FileError : public EngineError {
 public:
  using EngineError::EngineError;
};

// The open population file, mapped into memory so that a record access costs a copy of ten
// bytes instead of a system call. The file is never emptied, shrunk or rewritten as a whole:
// it grows exactly to the last byte written, so its length always tells the records written.
//
// Reads past the end of the file find no record there; they yield blanks (' '), which are no
// gene, so a view lists them as blank lines and a count passes over them.
class PopulationFile {
 public:
  PopulationFile() = default;
  PopulationFile(const PopulationFile&) = delete;
  PopulationFile& operator=(const PopulationFile&) = delete;
  ~PopulationFile();

  // Opens (creating when missing, keeping what it holds) the file at path for reading and
  // writing. Closes whatever was open first. Throws FileError.
  void Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // Whole records of the file as it stands, and the highest record written since Open.
  std::int64_t RecordCount() const { return static_cast<std::int64_t>(size_ / kGenes); }
  std::int64_t RecordsWrittenSinceOpen() const { return highestWritten_; }

  // Grows the file, if needed, to hold records 1 to count, so that writes up to there cannot
  // fail half-way: the disk space is reserved at once. Throws FileError.
  void Reserve(std::int64_t count);

  void ReadRecord(std::int64_t k, Genome out) const {
    const std::size_t offset = static_cast<std::size_t>(k - 1) * kGenes;
    if (k >= 1 && offset + kGenes <= size_) {
      std::memcpy(out, data_ + offset, kGenes);
    } else {
      ReadPartialRecord(offset, out);
    }
  }

  // Writes record k (k >= 1), growing the file when the record lies past its end.
  void WriteRecord(std::int64_t k, const Genome genome) {
    const std::size_t offset = static_cast<std::size_t>(k - 1) * kGenes;
    if (offset + kGenes > size_) Grow(offset + kGenes);
    std::memcpy(data_ + offset, genome, kGenes);
    if (k > highestWritten_) highestWritten_ = k;
  }

  // Asks the processor to bring record k into the cache, for a read or write coming soon. A hint
  // only: nothing is read, and a record outside the file is passed over.
  void PrefetchRecord(std::int64_t k) const {
    const std::size_t offset = static_cast<std::size_t>(k - 1) * kGenes;
    if (k >= 1 && offset + kGenes <= size_) {
      __builtin_prefetch(data_ + offset, 1);
      __builtin_prefetch(data_ + offset + kGenes - 1, 1);
    }
  }

  // The bytes of the file as it stands, for reading many at once.
  std::string_view Bytes() const { return {data_, size_}; }

  // The byte at 1-based position; a blank past the end of the file.
  char ReadByte(std::int64_t position) const {
    const auto offset = static_cast<std::size_t>(position - 1);
    return position >= 1 && offset < size_ ? data_[offset] : ' ';
  }

 private:
  void ReadPartialRecord(std::size_t offset, Genome out) const;
  void Grow(std::size_t newSize);
  void ShrinkBackAfterFailedGrowth();

  std::string path_;
  int fd_ = -1;
  char* data_ = nullptr;
  std::size_t size_ = 0;
  std::int64_t highestWritten_ = 0;
};

// Removes the file at path; a missing file, or one that cannot be removed, is no error.
void DeleteFileQuietly(const std::string& path);

}  // namespace evo
