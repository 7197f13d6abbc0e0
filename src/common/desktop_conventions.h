// Conventions of the desktop that every window of the program follows, for the keyboard and for
// screen readers.
#pragma once

class QAbstractButton;
class QLabel;
class QString;
class QWidget;

namespace evo {

// Enter and Return press the command button that has the focus, as Space does; in a text field
// they still press nothing. A held key presses once: its repeats are ignored, as Space ignores
// them. The buttons keep their look: none becomes a default button.
void LetEnterPressButtons(QWidget& window);

// Escape anywhere in the button's window presses the button, the window's way out.
void LetEscapePress(QAbstractButton& button);

// Every label with a buddy names it for screen readers (its caption, without the access-key
// mark) and lends it its tooltip, which screen readers take as the description, so that a field
// is spoken with its caption and its hint. A name, description or tooltip set on the control
// itself is kept. Nothing is set that the toolkit gives the control already. A figure (FigureLabel)
// keeps no fixed name: it is spoken with its caption and the figure as it stands.
void TieLabelsToControls(QWidget& window);

// What a screen reader says of a figure: the captions of the labels whose buddy it is, and the
// figure as shown, without the blank that stands in for a plus sign: "Sevens 1000".
QString FigureVoice(const QLabel& figure);

// Opens target's context menu as the Menu key does, at the centre of the widget at (target or a
// widget inside it): for Shift+F10, which Qt does not take for the Menu key.
void OpenContextMenuFromKeyboard(QWidget& target, const QWidget& at);

// Whether the widget's class declares Q_CLASSINFO("AccessibleRole", "Chart").
bool IsChart(const QWidget& widget);

// Tells screen readers what each widget of the program is: a window is a frame, a FigureLabel a
// label, a SpokenNotice a notification, a one-line field a text (FieldAccessible), a drop-down
// choice a combo box (ChoiceAccessible), and a widget
// class that declares Q_CLASSINFO("AccessibleRole", "Chart") a chart, presented with its
// accessible name and description. To be called once the application exists, and before its
// first window: Qt keeps the first account it makes of a widget, and installs its own as the
// application starts, which this one goes before.
void InstallProgramAccessibility();

}  // namespace evo
