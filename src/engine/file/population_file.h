// The population file: one 10-byte record per critter, record k at 1-based byte 10k - 9.
#pragma once

#include <sys/stat.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#include "engine/engine_error.h"
#include "engine/file/file_descriptor.h"
#include "engine/file/file_mapping.h"
#include "engine/record_store.h"

namespace evo {

// The open population file, mapped into memory so that a record access costs a copy of ten
// bytes instead of a system call. The file is never emptied or rewritten as a whole, and grows
// only to hold the records written: a growth that fails takes back what it added, and nothing
// else.
//
// Reads past the end of the file find no record there; they yield blanks (' '), which are no
// gene, so a view lists them as blank lines and a count passes over them.
//
// Only a regular file of one name is used, never one reached through a symbolic link or a hard
// link, and only by one running copy of the program at a time: the open file holds an exclusive
// advisory lock, which the system drops with the process however it ends. Another program may
// still cut, change, replace or delete the file; an access that this makes impossible goes on
// over zeros instead of ending the program (see MappingWatch), and CheckIntact tells afterwards.
class PopulationFile {
 public:
  PopulationFile() = default;
  PopulationFile(const PopulationFile&) = delete;
  PopulationFile& operator=(const PopulationFile&) = delete;

  // Opens (creating when missing, keeping what it holds) the file at path for reading and
  // writing. Closes whatever was open first. Throws FileError, having written nothing, when the
  // path is not a regular file of one name (a link, a directory, a pipe, a device), when another
  // running copy holds it, or when it cannot be opened.
  void Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_.IsOpen(); }

  // A step that Open takes each time it has opened the file and not yet locked it: where another
  // copy of the program, ending, may lock and delete it. For the tests, to place that there.
  void BetweenOpenAndLock(std::function<void()> step) { betweenOpenAndLock_ = std::move(step); }

  // Closes the file and removes the one at path: the file open here while path still names it,
  // otherwise a regular file there that no running copy of the program holds. Anything else at
  // path, or a failure, is left alone without a word.
  void CloseAndDelete(const std::string& path);

  // Whole records of the file as it stands, and the highest record written since Open that the
  // file still holds.
  std::int64_t RecordCount() const { return static_cast<std::int64_t>(mapping_.Size() / kGenes); }
  std::int64_t RecordsWrittenSinceOpen() const { return highestWritten_; }

  // The records 1 to count hold the population (none after Open): CheckIntact finds them whole
  // and holding genes, and growing the file never covers up a cut into them. Bytes past them
  // may come and go without harm.
  void SetRecordsInUse(std::int64_t count);

  // Grows the file, if needed, to hold records 1 to count, so that writes up to there cannot
  // fail half-way: the disk space of every byte up to there, holes of a sparse file included, is
  // reserved at once. Throws FileError.
  void Reserve(std::int64_t count);

  // Throws FileError, naming the file and what happened to it, when the records in use are no
  // longer all there as the program wrote them: another program shortened, changed, replaced or
  // deleted the file, or an access through the mapping failed. Nothing when no file is open, and
  // nothing for a name that cannot be looked at (a folder without permission).
  void CheckIntact();

  void ReadRecord(std::int64_t k, Genome out) const {
    const std::size_t offset = static_cast<std::size_t>(k - 1) * kGenes;
    if (k >= 1 && offset + kGenes <= mapping_.Size()) {
      std::memcpy(out, mapping_.Data() + offset, kGenes);
    } else {
      ReadPartialRecord(offset, out);
    }
  }

  // Writes record k (k >= 1), growing the file when the record lies past its end.
  void WriteRecord(std::int64_t k, const Genome genome) {
    const std::size_t offset = static_cast<std::size_t>(k - 1) * kGenes;
    if (offset + kGenes > mapping_.Size()) Grow(offset + kGenes);
    std::memcpy(mapping_.Data() + offset, genome, kGenes);
    if (k > highestWritten_) highestWritten_ = k;
  }

  // Records 1 to count in place, record k at byte 10k - 10, for a loop that reads and writes
  // them many times over without a check at every access; they count as written. Null when the
  // file does not reach that far. Another program cutting the file meanwhile only makes the
  // accesses past the cut go on over zeros (see MappingWatch).
  char* RecordsInPlace(std::int64_t count) {
    if (count < 0 || count > RecordCount()) return nullptr;
    highestWritten_ = std::max(highestWritten_, count);
    return mapping_.Data();
  }

  // The bytes of the file as it stands, for reading many at once.
  std::string_view Bytes() const { return {mapping_.Data(), mapping_.Size()}; }

  // The byte at 1-based position; a blank past the end of the file.
  char ReadByte(std::int64_t position) const {
    const auto offset = static_cast<std::size_t>(position - 1);
    return position >= 1 && offset < mapping_.Size() ? mapping_.Data()[offset] : ' ';
  }

 private:
  void ReadPartialRecord(std::size_t offset, Genome out) const;
  void Grow(std::size_t newSize);
  // The status of the open file; throws FileError.
  struct stat Status() const;
  // The length of the file that status describes; throws FileError when the records in use no
  // longer fit in it. A file cut short of what is mapped, but not of the records in use, is
  // followed: the mapping, the reserve and the records written end where the file ends.
  std::size_t FollowLength(const struct stat& status);
  // Cuts away what a failed growth added to a file that was length bytes long, and no more.
  void TakeBackGrowth(std::size_t length);

  std::string path_;
  FileDescriptor fd_;
  FileMapping mapping_;
  std::size_t reserved_ = 0;  // bytes from the start whose disk space is surely allocated
  std::int64_t highestWritten_ = 0;
  std::size_t bytesInUse_ = 0;  // the bytes of the records that hold the population
  std::function<void()> betweenOpenAndLock_;
};

}  // namespace evo
