#include "engine/file/mapping_watch.h"

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdint>
#include <mutex>

namespace evo {
namespace {

// What the signal handler reads: plain lock-free atomics, written by the program's thread only.
struct WatchedRange {
  std::atomic<bool> taken{false};
  std::atomic<std::uintptr_t> start{0};
  std::atomic<std::size_t> length{0};
  std::atomic<bool> faulted{false};
};

std::array<WatchedRange, 16> watched;
struct sigaction previousAction {};
std::uintptr_t pageSize = 4096;

// A fault that is not ours goes to whoever handled it before, or ends the program as it would
// have without this handler.
void PassOn(int signal, siginfo_t* info, void* context) {
  if ((previousAction.sa_flags & SA_SIGINFO) != 0 && previousAction.sa_sigaction != nullptr) {
    previousAction.sa_sigaction(signal, info, context);
    return;
  }
  if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
    previousAction.sa_handler(signal);
    return;
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);  // delivered, with the default action, when the handler returns
}

bool ZeroPageOver(std::uintptr_t address) {
  void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
  return ::mmap(page, pageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
                0) != MAP_FAILED;
}

void OnBusError(int signal, siginfo_t* info, void* context) {
  // Only a fault of an access has an address: a signal sent by a process has a code of 0 or less.
  if (info->si_code <= 0) {
    PassOn(signal, info, context);
    return;
  }
  const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
  for (WatchedRange& range : watched) {
    const std::uintptr_t start = range.start.load();
    const std::size_t length = range.length.load();
    if (length == 0 || address < start || address - start >= length) continue;
    if (!ZeroPageOver(address)) break;
    range.faulted.store(true);
    return;
  }
  PassOn(signal, info, context);
}

void InstallHandler() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    static_assert(std::atomic<std::uintptr_t>::is_always_lock_free);
    static_assert(std::atomic<bool>::is_always_lock_free);
    pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previousAction);
  });
}

}  // namespace

bool MappingWatch::Take() {
  InstallHandler();
  for (std::size_t i = 0; i < watched.size() && slot_ < 0; ++i) {
    if (!watched[i].taken.exchange(true)) {
      slot_ = static_cast<int>(i);
      watched[i].faulted.store(false);
    }
  }
  return slot_ >= 0;
}

void MappingWatch::Cover(const void* start, std::size_t length) {
  if (slot_ < 0) return;
  WatchedRange& range = watched[slot_];
  // Never a moment at which the handler sees the new start with the old length.
  range.length.store(0);
  range.start.store(reinterpret_cast<std::uintptr_t>(start));
  range.length.store(length);
}

void MappingWatch::Release() {
  if (slot_ < 0) return;
  WatchedRange& range = watched[slot_];
  range.length.store(0);
  range.start.store(0);
  range.faulted.store(false);
  range.taken.store(false);
  slot_ = -1;
}

bool MappingWatch::TakeFault() {
  return slot_ >= 0 && watched[slot_].faulted.exchange(false);
}

}  // namespace evo
