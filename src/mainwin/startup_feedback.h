// The desktop's start-up feedback (a busy pointer, a launching entry in the task bar) that a menu
// entry with StartupNotify=true asks for, and that the program's first window usually ends.
#pragma once

#include <QByteArray>

namespace evo {

// Ends the feedback of a start that ends without a window of its own: on X11, sends the
// freedesktop.org start-up notification "remove" message for the start's id (DESKTOP_STARTUP_ID,
// which must be read before QApplication takes it out of the environment). Does nothing for an
// empty id or on another platform.
void EndStartupFeedback(const QByteArray& startupId);

}  // namespace evo
