// The program: the main window, over real message boxes and a twister seeded at load.
#include <QApplication>

#include "common/dialogs.h"
#include "common/window_look.h"
#include "engine/random_source.h"
#include "mainwin/frm_main.h"
#include "mainwin/working_directory.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The program ends only through the main window, which ends it at once; a hidden main window
  // behind an open view is no reason to quit.
  QApplication::setQuitOnLastWindowClosed(false);
  // Ties the windows to the menu entry, for the desktop's task bar and its icon.
  QGuiApplication::setDesktopFileName("evolution-simulation");
  evo::InstallProgramFont();
  evo::ModalDialogs dialogs;
  if (const QString failure = evo::EnterWorkingDirectory(QApplication::arguments());
      !failure.isEmpty()) {
    dialogs.Message(failure);
    return 1;
  }
  evo::TwisterRandomSource random;
  evo::FrmMain window(dialogs, random);
  QApplication::setWindowIcon(window.windowIcon());
  window.show();
  return QApplication::exec();
}
