// Keeps a file mapping that another process cuts short from ending the program.
#pragma once

#include <cstddef>

namespace evo {

// A shared mapping of a file raises SIGBUS when a page past the end of the file is touched,
// which happens as soon as another program shortens the file under it. While a mapping is
// watched, such a page is replaced by a page of zeros instead, the access goes on, and the fault
// is recorded for the owner to find once its command is over. A SIGBUS that the kernel did not
// raise for an access to a watched mapping (one sent by another process, or a fault elsewhere)
// takes its usual course.
//
// The process can watch a few mappings at once. A watch takes its place among them once, with
// Take, and keeps it until Release: covering another range of the same mapping, after it grew or
// shrank, cannot fail.
class MappingWatch {
 public:
  MappingWatch() = default;
  MappingWatch(const MappingWatch&) = delete;
  MappingWatch& operator=(const MappingWatch&) = delete;
  ~MappingWatch() { Release(); }

  // Takes a place for a watched mapping, watching nothing yet; true at once when one is held.
  // False when every place is taken.
  [[nodiscard]] bool Take();
  // Watches the length bytes from start (none when length is 0), in place of whatever was
  // watched before. Only while a place is held.
  void Cover(const void* start, std::size_t length);
  void Release();

  // Whether a fault has been recorded since the place was taken or this was last asked.
  bool TakeFault();

 private:
  int slot_ = -1;
};

}  // namespace evo
