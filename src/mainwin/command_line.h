// The program's command line, read before any window or display is needed. Qt's own options
// (-platform, -style, -display, ...) and their values are passed over for QApplication to take.
#pragma once

#include <variant>

namespace evo {

// The exit status of a command line the program does not understand.
inline constexpr int kUsageStatus = 2;
// The exit status of a start without a display or window system to show a window on.
inline constexpr int kNoDisplayStatus = 1;

struct StartOptions {
  // Keep critter.dat in the per-user data directory; the menu entry starts the program so.
  bool inDataDirectory = false;
};

// The options to start with; or, after answering --help or --version on standard output, or
// reporting an option the program does not know with the usage on standard error, the status to
// end with.
std::variant<StartOptions, int> ReadCommandLine(int argc, const char* const* argv);

// While the window system is being opened (QApplication's construction): a failure, which Qt
// reports as fatal and ends in an abort and a core dump, ends the program with a one-line reason
// and the usage on standard error and kNoDisplayStatus instead. Stopped by the object's end.
class DisplayFailureReport {
 public:
  DisplayFailureReport();
  ~DisplayFailureReport();
  DisplayFailureReport(const DisplayFailureReport&) = delete;
  DisplayFailureReport& operator=(const DisplayFailureReport&) = delete;
};

}  // namespace evo
