#include "mainwin/command_line.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
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
    "Exit status: 0 when the program ends normally, 1 when it finds no display to\n"
    "show its window on or the data directory cannot be made or entered, 2 for an\n"
    "option it does not know.\n";

constexpr char kVersion[] =
    "evolution-simulation " EVOLUTION_VERSION
    "\n"
    "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

// Qt's options, taken by QApplication: those followed by a value, and those on their own. Each
// may be written with one dash or two, and a value also after '='.
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform",    "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",     "geometry",           "title",         "name",   "icon"};
constexpr std::array<std::string_view, 7> kQtFlags = {
    "reverse", "widgetcount", "nograb", "dograb", "sync", "qmljsdebugger", "fontengine"};

// The option's name without its dashes and any "=value"; empty for an argument with no dash.
std::string_view QtOptionName(std::string_view argument) {
  if (!argument.starts_with('-')) return {};
  argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
  return argument.substr(0, argument.find('='));
}

bool Contains(const auto& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

void PrintUsageError(const char* reason, std::string_view detail) {
  std::fprintf(stderr, "evolution-simulation: %s%.*s\n%s", reason, static_cast<int>(detail.size()),
               detail.data(), kUsage);
  std::fputs("Try 'evolution-simulation --help' for more information.\n", stderr);
}

QtMessageHandler previousHandler = nullptr;
// The platform's first complaint, "could not connect to display", says more than the fatal
// message that follows it, which suggests reinstalling.
QByteArray platformComplaint;

void ReportDisplayFailure(QtMsgType type, const QMessageLogContext& context,
                          const QString& message) {
  const bool fromPlatform = std::string_view(context.category).starts_with("qt.qpa");
  if (type != QtFatalMsg && !fromPlatform) {
    if (previousHandler != nullptr) previousHandler(type, context, message);
    return;
  }
  if (platformComplaint.isEmpty()) platformComplaint = message.section('\n', 0, 0).toLocal8Bit();
  if (type != QtFatalMsg) return;
  PrintUsageError("cannot show a window: ", platformComplaint.trimmed().constData());
  std::_Exit(kNoDisplayStatus);
}

}  // namespace

std::variant<StartOptions, int> ReadCommandLine(int argc, const char* const* argv) {
  StartOptions options;
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
    if (argument == kInDataDirectoryOption) {
      options.inDataDirectory = true;
      continue;
    }
    const std::string_view name = QtOptionName(argument);
    if (Contains(kQtFlags, name)) continue;
    if (Contains(kQtOptionsWithValue, name)) {
      if (argument.find('=') == std::string_view::npos) ++i;  // the value follows
      continue;
    }
    PrintUsageError("unknown option '", std::string(argument) + "'");
    return kUsageStatus;
  }
  return options;
}

DisplayFailureReport::DisplayFailureReport() {
  previousHandler = qInstallMessageHandler(ReportDisplayFailure);
}

DisplayFailureReport::~DisplayFailureReport() {
  qInstallMessageHandler(previousHandler);
}

}  // namespace evo
