#include "mainwin/command_line.h"

#include <cstdio>
#include <string_view>

namespace evo {
namespace {

constexpr char kInDataDirectoryOption[] = "--in-data-directory";

constexpr char kUsage[] =
    "Usage: evolution-simulation [--in-data-directory] [QT-OPTION]...\n"
    "   or: evolution-simulation --help | --version\n";

constexpr char kHelp[] =
    "A desktop simulation of evolution by random mutation and selection.\n"
    "\n"
    "Without options the program keeps its population file critter.dat in the\n"
    "current directory, and Exit deletes it.\n"
    "\n"
    "  --in-data-directory  keep critter.dat in the data directory\n"
    "                       $XDG_DATA_HOME/evolution-simulation (by default\n"
    "                       ~/.local/share/evolution-simulation), made when missing;\n"
    "                       while a copy started so runs for the same directory,\n"
    "                       another such start brings that copy's window forward\n"
    "                       and ends. The menu entry starts the program so.\n"
    "  -h, --help           show this help and end\n"
    "  --version            show the version and the licence and end\n"
    "\n"
    "Qt's own options, such as -platform NAME, -style NAME or -display DISPLAY,\n"
    "work as in every Qt program.\n"
    "\n"
    "Exit status: 0 when the program ends normally, 1 when the data directory cannot\n"
    "be made or entered, 2 for an option it does not know.\n";

constexpr char kVersion[] =
    "evolution-simulation " EVOLUTION_VERSION
    "\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

}  // namespace

std::optional<int> AnswerInformationOption(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      std::fputs("\n", stdout);
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (argument == "--version") {
      std::fputs(kVersion, stdout);
      return 0;
    }
  }
  return std::nullopt;
}

std::optional<StartOptions> ReadStartOptions(const QStringList& arguments) {
  StartOptions options;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    if (arguments[i] == kInDataDirectoryOption) {
      options.inDataDirectory = true;
      continue;
    }
    std::fprintf(stderr, "evolution-simulation: unknown option '%s'\n%s",
                 arguments[i].toLocal8Bit().constData(), kUsage);
    std::fputs("Try 'evolution-simulation --help' for more information.\n", stderr);
    return std::nullopt;
  }
  return options;
}

}  // namespace evo
