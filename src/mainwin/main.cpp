// The program: the main window, over real message boxes and a twister seeded at load.
#include <QApplication>
#include <csignal>
#include <optional>
#include <variant>

#include "common/desktop_conventions.h"
#include "common/dialogs.h"
#include "common/window_look.h"
#include "engine/simulation/random_source.h"
#include "mainwin/command_line.h"
#include "mainwin/frm_main.h"
#include "mainwin/program_icon.h"
#include "mainwin/start_rendezvous.h"
#include "mainwin/startup_feedback.h"
#include "mainwin/working_directory.h"

int main(int argc, char** argv) {
  // A terminal, a packager's script or help2man gets its answer without a display.
  const std::variant<evo::StartOptions, int> commandLine = evo::ReadCommandLine(argc, argv);
  if (const int* status = std::get_if<int>(&commandLine)) return *status;
  const evo::StartOptions options = std::get<evo::StartOptions>(commandLine);
  // Under a file-size limit (ulimit -f) a write or growth past it fails with EFBIG, which the
  // program reports, keeping its population; the signal would end the program without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  const QByteArray startupId = qgetenv("DESKTOP_STARTUP_ID");
  // Until the window system stands, a failure to open it is told in words, not in a core dump.
  std::optional<evo::DisplayFailureReport> displayFailure(std::in_place);
  QApplication app(argc, argv);
  displayFailure.reset();
  // The program ends only through the main window, which ends it at once; a hidden main window
  // behind an open view is no reason to quit.
  QApplication::setQuitOnLastWindowClosed(false);
  // Ties the windows to the menu entry, for the desktop's task bar and its icon; set before the
  // first box, which may already come from the data directory.
  QGuiApplication::setDesktopFileName("evolution-simulation");
  QApplication::setWindowIcon(evo::ProgramIcon());
  evo::InstallProgramFont();
  evo::InstallProgramAccessibility();
  evo::ModalDialogs dialogs;
  std::optional<evo::StartRendezvous> rendezvous;
  if (options.inDataDirectory) {
    if (const QString failure = evo::EnterDataDirectory(); !failure.isEmpty()) {
      dialogs.Message(failure);
      return 1;
    }
    const QByteArray directory = QByteArray::fromStdString(evo::DataDirectory().native());
    if (rendezvous.emplace(directory).PassedToRunningCopy()) {
      evo::EndStartupFeedback(startupId);
      return 0;
    }
  }
  evo::TwisterRandomSource random;
  evo::FrmMain window(dialogs, random);
  if (rendezvous) window.WhenEnding([&rendezvous] { rendezvous->Release(); });
  window.show();
  return QApplication::exec();
}
