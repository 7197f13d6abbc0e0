// The program's command line. Qt's own options (-platform, -style, -display, ...) are Qt's: they
// are taken out by QApplication before the program reads the rest.
#pragma once

#include <QStringList>
#include <optional>

namespace evo {

// The exit status of a command line the program does not understand.
inline constexpr int kUsageStatus = 2;

struct StartOptions {
  // Keep critter.dat in the per-user data directory; the menu entry starts the program so.
  bool inDataDirectory = false;
};

// Answers --help or --version on standard output, from the raw arguments and before any window
// or display is needed, and returns the exit status; returns nothing when neither was asked.
std::optional<int> AnswerInformationOption(int argc, const char* const* argv);

// Reads the arguments that Qt left (the program's name first). An argument the program does not
// know is reported with the usage on standard error, and gives nothing.
std::optional<StartOptions> ReadStartOptions(const QStringList& arguments);

}  // namespace evo
