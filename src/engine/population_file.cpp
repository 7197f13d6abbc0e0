#include "engine/population_file.h"

#include <fcntl.h>
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

}  // namespace

PopulationFile::~PopulationFile() {
  Close();
}

void PopulationFile::Open(const std::string& path) {
  Close();
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) throw FileError(Describe("Cannot open", path, errno));
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    const int error = errno;
    ::close(fd);
    throw FileError(Describe("Cannot read the size of", path, error));
  }
  const auto size = static_cast<std::size_t>(status.st_size);
  char* data = nullptr;
  if (size > 0) {
    void* mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (mapped == MAP_FAILED) {
      const int error = errno;
      ::close(fd);
      throw FileError(Describe("Cannot map", path, error));
    }
    data = static_cast<char*>(mapped);
  }
  path_ = path;
  fd_ = fd;
  data_ = data;
  size_ = size;
  highestWritten_ = 0;
}

void PopulationFile::Close() {
  if (data_ != nullptr) ::munmap(data_, size_);
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  data_ = nullptr;
  size_ = 0;
  highestWritten_ = 0;
}

void PopulationFile::Reserve(std::int64_t count) {
  const auto needed = static_cast<std::size_t>(count) * kGenes;
  if (count > 0 && needed > size_) Grow(needed);
}

void PopulationFile::ReadPartialRecord(std::size_t offset, Genome out) const {
  for (std::size_t j = 0; j < kGenes; ++j) {
    out[j] = offset + j < size_ ? data_[offset + j] : ' ';
  }
}

void PopulationFile::Grow(std::size_t newSize) {
  if (fd_ < 0) throw FileError("The population file is not open");
  // Real blocks, not a sparse hole: a full disk must fail here and not later, in the middle of
  // a write through the mapping.
  const int error =
      ::posix_fallocate(fd_, static_cast<off_t>(size_), static_cast<off_t>(newSize - size_));
  if (error != 0) {
    ShrinkBackAfterFailedGrowth();
    throw FileError(Describe("Cannot grow", path_, error));
  }
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
}

// The file must end at the last byte written: whatever a failed growth added goes again. Only
// bytes past the mapping are cut, so the mapping stays valid.
void PopulationFile::ShrinkBackAfterFailedGrowth() {
  [[maybe_unused]] const int restored = ::ftruncate(fd_, static_cast<off_t>(size_));
}

void DeleteFileQuietly(const std::string& path) {
  ::unlink(path.c_str());
}

}  // namespace evo
