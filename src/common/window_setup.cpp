#include "common/window_setup.h"

#include <QAction>
#include <QCoreApplication>
#include <QWidget>

#include "common/desktop_conventions.h"
#include "common/focus_ring.h"
#include "common/help_window.h"
#include "common/window_look.h"

namespace evo {

void SetUpWindow(QWidget& window) {
  SetProgramFont(window);
  LetEnterPressButtons(window);
  TieLabelsToControls(window);
  new FocusRing(window);
  // An action rather than a bare shortcut, so that a window whose context menu lists its actions
  // offers Help there too, with its key.
  auto* help = new QAction(QCoreApplication::translate("evo::Guide", "Help"), &window);
  help->setShortcut(QKeySequence::HelpContents);
  QObject::connect(help, &QAction::triggered, &window, [] { ShowGuide(); });
  window.addAction(help);
}

}  // namespace evo
