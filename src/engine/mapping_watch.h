// Keeps a file mapping that another process cuts short from ending the program.
#pragma once

#include <cstddef>

namespace evo {

// A shared mapping of a file raises SIGBUS when a page past the end of the file is touched,
// which happens as soon as another program shortens the file under it. While a mapping is
// watched, such a page is replaced by a page of zeros instead, the access goes on, and the fault
// is recorded for the owner to find once its command is over. Faults elsewhere take their usual
// course.
//
// One object watches at most one mapping; the process can watch a few at once.
class MappingWatch {
 public:
  MappingWatch() = default;
  MappingWatch(const MappingWatch&) = delete;
  MappingWatch& operator=(const MappingWatch&) = delete;
  ~MappingWatch() { Release(); }

  // Watches the length bytes from start (none when length is 0), in place of whatever was
  // watched before. False when every place for a watched mapping is taken.
  bool Cover(const void* start, std::size_t length);
  void Release();

  // Whether a fault has been recorded since the mapping was covered or this was last asked.
  bool TakeFault();

 private:
  int slot_ = -1;
};

}  // namespace evo
