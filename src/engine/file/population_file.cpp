#include "engine/file/population_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

#include "engine/digits.h"

namespace evo {
namespace {

// A regular file of one name opened as itself: never through a symbolic link, and without
// waiting on a pipe or a device, so that nothing else at the path can be written through or
// block the program.
struct RegularFile {
  FileDescriptor fd;
  struct stat status {};
  Problem refusal = FileNotOpen{};  // why path could not be opened, while fd is not open
};

FileKind KindOf(mode_t mode) {
  if (S_ISLNK(mode)) return FileKind::SymbolicLink;
  if (S_ISDIR(mode)) return FileKind::Directory;
  if (S_ISFIFO(mode)) return FileKind::NamedPipe;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::Device;
  if (S_ISSOCK(mode)) return FileKind::Socket;
  return FileKind::Other;
}

RegularFile OpenRegularFile(const std::string& path, int flags) {
  RegularFile file;
  file.fd = FileDescriptor(
      ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644));
  if (!file.fd.IsOpen()) {
    const int error = errno;
    // What stands at the path tells why better than the error: a socket gives ENXIO, a link ELOOP.
    struct stat named {};
    if (::lstat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
      file.refusal = NotARegularFile{path, KindOf(named.st_mode)};
    } else {
      file.refusal = FileActionFailed{FileAction::Open, path, error};
    }
    return file;
  }
  if (::fstat(file.fd.Get(), &file.status) != 0) {
    file.refusal = FileActionFailed{FileAction::ReadSize, path, errno};
  } else if (!S_ISREG(file.status.st_mode)) {
    file.refusal = NotARegularFile{path, KindOf(file.status.st_mode)};
  } else if (file.status.st_nlink > 1) {
    file.refusal = HardLinkedFile{path};
  } else {
    return file;
  }
  file.fd.Close();
  return file;
}

enum class Name { Same, Gone, Other, Unknown };

// What path names now, against the file that status describes. Only a missing name is gone: a
// name that cannot be looked at (no permission on the folder) may well still be the same.
Name NameOf(const std::string& path, const struct stat& status) {
  struct stat named {};
  if (::lstat(path.c_str(), &named) != 0) return errno == ENOENT ? Name::Gone : Name::Unknown;
  return named.st_dev == status.st_dev && named.st_ino == status.st_ino ? Name::Same : Name::Other;
}

// A copy that only looks at the file, to delete it at Exit, holds its lock for a moment: the lock
// is tried for a while before the file is taken to be held by another copy.
constexpr int kLockAttempts = 50;
constexpr std::chrono::milliseconds kLockPause{2};

// The regular file at path, created when missing, opened and locked for this copy alone. When
// the lock came only after another copy removed the name or gave it to another file (deleting it
// at Exit), the file at path is opened anew. Throws FileError.
RegularFile OpenOwnFile(const std::string& path, const std::function<void()>& betweenOpenAndLock) {
  for (int attempt = 1; attempt <= kLockAttempts; ++attempt) {
    RegularFile file = OpenRegularFile(path, O_RDWR | O_CREAT);
    if (!file.fd.IsOpen()) throw FileError(file.refusal);
    if (betweenOpenAndLock) betweenOpenAndLock();
    if (::flock(file.fd.Get(), LOCK_EX | LOCK_NB) == 0) {
      const Name name = NameOf(path, file.status);
      if (name == Name::Same || name == Name::Unknown) return file;
      continue;
    }
    if (errno != EWOULDBLOCK) throw FileError(FileActionFailed{FileAction::Lock, path, errno});
    std::this_thread::sleep_for(kLockPause);
  }
  throw FileError(FileHeldByAnotherCopy{path});
}

// Removes the regular file at path unless a running copy of the program holds it.
void DeleteUnheldFile(const std::string& path) {
  const RegularFile file = OpenRegularFile(path, O_RDONLY);
  if (!file.fd.IsOpen()) return;
  if (::flock(file.fd.Get(), LOCK_EX | LOCK_NB) == 0 && NameOf(path, file.status) == Name::Same) {
    ::unlink(path.c_str());
  }
}

}  // namespace

void PopulationFile::Open(const std::string& path) {
  Close();
  RegularFile file = OpenOwnFile(path, betweenOpenAndLock_);
  const int error = mapping_.Map(file.fd.Get(), static_cast<std::size_t>(file.status.st_size));
  if (error != 0) throw FileError(FileActionFailed{FileAction::Map, path, error});
  path_ = path;
  fd_ = std::move(file.fd);
}

void PopulationFile::Close() {
  mapping_.Release();
  fd_.Close();
  reserved_ = 0;
  highestWritten_ = 0;
  bytesInUse_ = 0;
}

void PopulationFile::CloseAndDelete(const std::string& path) {
  struct stat status {};
  const bool own = IsOpen() && path == path_ && ::fstat(fd_.Get(), &status) == 0 &&
                   NameOf(path_, status) == Name::Same;
  if (own) ::unlink(path_.c_str());
  Close();
  if (!own) DeleteUnheldFile(path);
}

void PopulationFile::SetRecordsInUse(std::int64_t count) {
  bytesInUse_ = static_cast<std::size_t>(std::max<std::int64_t>(count, 0)) * kGenes;
}

void PopulationFile::Reserve(std::int64_t count) {
  if (count > 0) Grow(static_cast<std::size_t>(count) * kGenes);
}

void PopulationFile::CheckIntact() {
  if (!IsOpen()) return;
  const struct stat status = Status();
  FollowLength(status);
  const Name name = NameOf(path_, status);
  if (name == Name::Gone) throw FileError(PopulationLost{path_, FileLoss::Deleted});
  if (name == Name::Other) throw FileError(PopulationLost{path_, FileLoss::Replaced});
  if (mapping_.TakeFault()) throw FileError(PopulationLost{path_, FileLoss::Unreadable});
  // The program writes nothing but digits into its records: anything else there, zeros left by a
  // cut and a regrowth or a punched hole included, was put there by another program.
  if (!AllDigits(Bytes().substr(0, bytesInUse_))) {
    throw FileError(PopulationLost{path_, FileLoss::Changed});
  }
}

void PopulationFile::ReadPartialRecord(std::size_t offset, Genome out) const {
  for (std::size_t j = 0; j < kGenes; ++j) {
    out[j] = offset + j < mapping_.Size() ? mapping_.Data()[offset + j] : ' ';
  }
}

struct stat PopulationFile::Status() const {
  struct stat status {};
  if (::fstat(fd_.Get(), &status) != 0) {
    throw FileError(FileActionFailed{FileAction::Check, path_, errno});
  }
  return status;
}

std::size_t PopulationFile::FollowLength(const struct stat& status) {
  const auto length = static_cast<std::size_t>(status.st_size);
  if (length < bytesInUse_) throw FileError(PopulationLost{path_, FileLoss::Shortened});
  if (length < mapping_.Size()) {
    mapping_.Shrink(length);
    reserved_ = std::min(reserved_, length);
    highestWritten_ = std::min(highestWritten_, static_cast<std::int64_t>(length / kGenes));
  }
  return length;
}

void PopulationFile::Grow(std::size_t newSize) {
  if (!IsOpen()) throw FileError(FileNotOpen{});
  // Real blocks, not sparse holes, for every byte up to the new size, also those the file held
  // already: a full disk must fail here and not later, in the middle of a write through the
  // mapping. The length is looked at first, since the allocation would lengthen a file cut short
  // from outside and hide the cut under zeros.
  std::optional<std::size_t> lengthBefore;
  if (newSize > reserved_) {
    lengthBefore = FollowLength(Status());
    const int error = ::posix_fallocate(fd_.Get(), 0, static_cast<off_t>(newSize));
    if (error != 0) {
      TakeBackGrowth(*lengthBefore);
      throw FileError(FileActionFailed{FileAction::Grow, path_, error});
    }
    reserved_ = newSize;
  }
  const int error = mapping_.Extend(fd_.Get(), newSize);
  if (error != 0) {
    if (lengthBefore) TakeBackGrowth(*lengthBefore);
    throw FileError(FileActionFailed{FileAction::Map, path_, error});
  }
}

// Only the bytes past length go, and only when the file is longer than that now: a file that
// another program cut meanwhile is never lengthened.
void PopulationFile::TakeBackGrowth(std::size_t length) {
  struct stat status {};
  if (::fstat(fd_.Get(), &status) == 0 && static_cast<std::size_t>(status.st_size) > length) {
    [[maybe_unused]] const int cut = ::ftruncate(fd_.Get(), static_cast<off_t>(length));
    reserved_ = std::min(reserved_, length);
  }
}

}  // namespace evo
