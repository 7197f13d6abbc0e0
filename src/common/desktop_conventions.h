// Conventions of the desktop that every window of the program follows, for the keyboard and for
// screen readers.
#pragma once

class QWidget;

namespace evo {

// Enter and Return press the command button that has the focus, as Space does; in a text field
// they still press nothing. The buttons keep their look: none becomes a default button.
void LetEnterPressButtons(QWidget& window);

// Every label with a buddy names it for screen readers (its caption, without the access-key
// mark) and lends it its tooltip as the description, so that a field or a figure is spoken with
// its caption and its hint. A name or description set on the control itself is kept.
void TieLabelsToControls(QWidget& window);

}  // namespace evo
