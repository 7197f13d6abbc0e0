#include "mainwin/program_icon.h"

// The icon lives in a static library, whose resources are registered only when asked for.
static void RegisterMainWindowResources() {
  Q_INIT_RESOURCE(frm_main);
}

namespace evo {

QIcon ProgramIcon() {
  RegisterMainWindowResources();
  QIcon icon;
  icon.addFile(":/mainwin/icons/evolution-16.png", QSize(16, 16));
  icon.addFile(":/mainwin/icons/evolution-32.png", QSize(32, 32));
  return icon;
}

}  // namespace evo
