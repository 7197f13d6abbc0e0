#include "engine/file/file_mapping.h"

#include <sys/mman.h>

#include <cerrno>

namespace evo {

int FileMapping::Map(int fd, std::size_t length) {
  Release();
  if (!watch_.Take()) return EMFILE;
  return Extend(fd, length);
}

int FileMapping::Extend(int fd, std::size_t length) {
  if (length <= size_) return 0;
  void* mapped = data_ == nullptr
                     ? ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                     : ::mremap(data_, size_, length, MREMAP_MAYMOVE);
  if (mapped == MAP_FAILED) return errno;
  data_ = static_cast<char*>(mapped);
  size_ = length;
  // Records are read at random all over the file; in pages of 2 MB instead of 4 kB the
  // processor's table of pages covers a million critters, and a read seldom waits for a page
  // walk. Only a hint: where the system cannot, the pages stay small.
  ::madvise(data_, size_, MADV_HUGEPAGE);
  watch_.Cover(data_, size_);
  return 0;
}

void FileMapping::Shrink(std::size_t length) {
  if (length >= size_) return;
  // What the mapping lets go of is watched no more before it goes.
  watch_.Cover(data_, length);
  if (length == 0) {
    ::munmap(data_, size_);
    data_ = nullptr;
  } else {
    ::mremap(data_, size_, length, 0);  // in place: a mapping never moves to shrink
  }
  size_ = length;
}

void FileMapping::Release() {
  watch_.Release();
  if (data_ != nullptr) ::munmap(data_, size_);
  data_ = nullptr;
  size_ = 0;
}

}  // namespace evo
