#include "mainwin/focus_first_clicks.h"

#include <QAbstractButton>
#include <QShortcutEvent>

namespace evo {
namespace {

bool HoldsFocus(const QWidget& control) {
  return control.window()->focusWidget() == &control;
}

}  // namespace

void FocusFirstClicks::Watch(QAbstractButton* button) {
  button->installEventFilter(this);
}

bool FocusFirstClicks::eventFilter(QObject* watched, QEvent* event) {
  auto* button = static_cast<QAbstractButton*>(watched);
  switch (event->type()) {
    case QEvent::Shortcut:
      if (static_cast<QShortcutEvent*>(event)->isAmbiguous()) return false;
      button->setFocus(Qt::ShortcutFocusReason);
      if (HoldsFocus(*button)) button->click();
      return true;
    case QEvent::MouseButtonPress:
      // The press already moved the focus; a validation took it back.
      return !HoldsFocus(*button);
    default:
      return false;
  }
}

}  // namespace evo
