// What every window of the program does as it is built.
#pragma once

class QWidget;

namespace evo {

// The program's font, Enter pressing the focused button, each label naming its control for screen
// readers, the ring around the control with the focus, and Help (F1) opening the guide. To be
// called once the window's controls stand, before it is centred.
void SetUpWindow(QWidget& window);

}  // namespace evo
