// Telling a screen reader what changed where the user did not move to hear it.
#pragma once

class QString;
class QWidget;

namespace evo {

// Makes text the accessible description of the control that has the focus in window (the window
// itself when none has), which screen readers speak when it changes while the control has the
// focus. The control's own description comes back once the focus leaves it.
void TellThroughFocus(QWidget& window, const QString& text);

}  // namespace evo
