// The start of an open file mapped into memory, shared, for reading and writing.
#pragma once

#include <cstddef>

#include "engine/file/mapping_watch.h"

namespace evo {

// The mapping is watched for faults (MappingWatch) for as long as it lives: it takes its place
// among the watched mappings when it maps and keeps it until Release, so growing or shrinking it
// never leaves a byte of it unwatched. What fails leaves the mapping as it was, and reports the
// error number.
class FileMapping {
 public:
  FileMapping() = default;
  FileMapping(const FileMapping&) = delete;
  FileMapping& operator=(const FileMapping&) = delete;
  ~FileMapping() { Release(); }

  // Maps the first length bytes of fd (none when length is 0) in place of whatever was mapped.
  // 0, or the error number with nothing mapped: EMFILE when every place for a watched mapping is
  // taken.
  int Map(int fd, std::size_t length);
  // Extends the mapping of fd to its first length bytes; 0 or the error number.
  int Extend(int fd, std::size_t length);
  // Lets go of the bytes from length on.
  void Shrink(std::size_t length);
  void Release();

  char* Data() const { return data_; }
  std::size_t Size() const { return size_; }
  // Whether an access through the mapping failed since it was made or this was last asked.
  bool TakeFault() { return watch_.TakeFault(); }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
  MappingWatch watch_;
};

}  // namespace evo
