#include "engine/population_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace evo {
namespace {

std::string Describe(const std::string& what, const std::string& path, int error) {
  return what + " " + path + ": " + std::system_category().message(error);
}

std::string NotARegularFile(const std::string& path, const std::string& what) {
  return "Cannot use " + path + ": it is " + what +
         ", and the population is kept only in a regular file. Remove or rename it, then try "
         "again.";
}

std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

std::string Lost(const std::string& path, const std::string& what) {
  return "The population file " + path + " " + what +
         ", so the population in it is lost. Create a population to start again.";
}

// A regular file opened as itself: never through a symbolic link, and without waiting on a pipe
// or a device, so that nothing else at the path can be written through or block the program.
struct RegularFile {
  int fd = -1;
  struct stat status {};
  std::string refusal;  // why path could not be opened; empty when fd is open
};

RegularFile OpenRegularFile(const std::string& path, int flags) {
  RegularFile file;
  file.fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
  if (file.fd < 0) {
    const int error = errno;
    if (error == ELOOP)
      file.refusal = NotARegularFile(path, "a symbolic link");
    else if (error == EISDIR)
      file.refusal = NotARegularFile(path, "a directory");
    else
      file.refusal = Describe("Cannot open", path, error);
    return file;
  }
  if (::fstat(file.fd, &file.status) != 0) {
    file.refusal = Describe("Cannot read the size of", path, errno);
  } else if (!S_ISREG(file.status.st_mode)) {
    file.refusal = NotARegularFile(path, KindOf(file.status.st_mode));
  } else {
    return file;
  }
  ::close(file.fd);
  file.fd = -1;
  return file;
}

std::string HeldByAnotherCopy(const std::string& path) {
  return "The population file " + path +
         " is in use by another running copy of this program in the same folder. Close that "
         "copy, or start this one in another folder.";
}

// Whether path still names the file that status describes.
bool StillNamed(const std::string& path, const struct stat& status) {
  struct stat named {};
  return ::lstat(path.c_str(), &named) == 0 && named.st_dev == status.st_dev &&
         named.st_ino == status.st_ino;
}

// Removes the regular file at path unless a running copy of the program holds it.
void DeleteUnheldFile(const std::string& path) {
  const RegularFile file = OpenRegularFile(path, O_RDONLY);
  if (file.fd < 0) return;
  if (::flock(file.fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(path, file.status)) {
    ::unlink(path.c_str());
  }
  ::close(file.fd);
}

}  // namespace

PopulationFile::~PopulationFile() {
  Close();
}

void PopulationFile::Open(const std::string& path) {
  Close();
  RegularFile file = OpenRegularFile(path, O_RDWR | O_CREAT);
  if (file.fd < 0) throw FileError(file.refusal);
  if (::flock(file.fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(file.fd);
    throw FileError(error == EWOULDBLOCK ? HeldByAnotherCopy(path)
                                         : Describe("Cannot lock", path, error));
  }
  const auto size = static_cast<std::size_t>(file.status.st_size);
  char* data = nullptr;
  if (size > 0) {
    void* mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, file.fd, 0);
    if (mapped == MAP_FAILED) {
      const int error = errno;
      ::close(file.fd);
      throw FileError(Describe("Cannot map", path, error));
    }
    data = static_cast<char*>(mapped);
  }
  if (!watch_.Cover(data, size)) {
    if (data != nullptr) ::munmap(data, size);
    ::close(file.fd);
    throw FileError("Cannot open " + path + ": too many population files are open.");
  }
  path_ = path;
  fd_ = file.fd;
  data_ = data;
  size_ = size;
  reserved_ = 0;
  highestWritten_ = 0;
}

void PopulationFile::Close() {
  watch_.Release();
  if (data_ != nullptr) ::munmap(data_, size_);
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  data_ = nullptr;
  size_ = 0;
  reserved_ = 0;
  highestWritten_ = 0;
}

void PopulationFile::CloseAndDelete(const std::string& path) {
  struct stat status {};
  const bool own =
      fd_ >= 0 && path == path_ && ::fstat(fd_, &status) == 0 && StillNamed(path_, status);
  if (own) ::unlink(path_.c_str());
  Close();
  if (!own) DeleteUnheldFile(path);
}

void PopulationFile::Reserve(std::int64_t count) {
  if (count > 0) Grow(static_cast<std::size_t>(count) * kGenes);
}

void PopulationFile::CheckIntact() {
  if (fd_ < 0) return;
  struct stat status {};
  if (::fstat(fd_, &status) != 0) throw FileError(Describe("Cannot check", path_, errno));
  if (static_cast<std::size_t>(status.st_size) < size_) {
    throw FileError(Lost(path_, "was shortened by another program"));
  }
  struct stat named {};
  if (::lstat(path_.c_str(), &named) != 0) {
    throw FileError(Lost(path_, "was deleted or renamed by another program"));
  }
  if (named.st_dev != status.st_dev || named.st_ino != status.st_ino) {
    throw FileError(Lost(path_, "was replaced by another file"));
  }
  if (watch_.TakeFault()) {
    throw FileError(Lost(path_,
                         "could not be read or written (shortened by another program, or "
                         "its disk is full)"));
  }
}

void PopulationFile::ReadPartialRecord(std::size_t offset, Genome out) const {
  for (std::size_t j = 0; j < kGenes; ++j) {
    out[j] = offset + j < size_ ? data_[offset + j] : ' ';
  }
}

void PopulationFile::Grow(std::size_t newSize) {
  if (fd_ < 0) throw FileError("The population file is not open");
  // Real blocks, not sparse holes, for every byte up to the new size, also those the file held
  // already: a full disk must fail here and not later, in the middle of a write through the
  // mapping.
  if (newSize > reserved_) {
    const int error = ::posix_fallocate(fd_, 0, static_cast<off_t>(newSize));
    if (error != 0) {
      ShrinkBackAfterFailedGrowth();
      throw FileError(Describe("Cannot grow", path_, error));
    }
    reserved_ = newSize;
  }
  if (newSize <= size_) return;
  void* mapped = data_ == nullptr
                     ? ::mmap(nullptr, newSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0)
                     : ::mremap(data_, size_, newSize, MREMAP_MAYMOVE);
  if (mapped == MAP_FAILED) {
    const int mapError = errno;
    ShrinkBackAfterFailedGrowth();
    throw FileError(Describe("Cannot map", path_, mapError));
  }
  data_ = static_cast<char*>(mapped);
  size_ = newSize;
  watch_.Cover(data_, size_);
}

// The file must end at the last byte written: whatever a failed growth added goes again. Only
// bytes past the mapping are cut, so the mapping stays valid.
void PopulationFile::ShrinkBackAfterFailedGrowth() {
  [[maybe_unused]] const int restored = ::ftruncate(fd_, static_cast<off_t>(size_));
}

void RefuseIfHeldByAnotherCopy(const std::string& path) {
  const RegularFile file = OpenRegularFile(path, O_RDONLY);
  if (file.fd < 0) return;
  const bool held = ::flock(file.fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(file.fd);
  if (held) throw FileError(HeldByAnotherCopy(path));
}

}  // namespace evo
