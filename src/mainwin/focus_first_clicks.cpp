#include "mainwin/focus_first_clicks.h"

#include <QAbstractButton>
#include <QShortcutEvent>

namespace evo {
namespace {

bool HoldsFocus(const QWidget& control) {
  return control.window()->focusWidget() == &control;
}

}  // namespace

bool FocusFirstClicks::Interrupted(const QAbstractButton& button) const {
  return !HoldsFocus(button) || validation_.Interrupted(button);
}

void FocusFirstClicks::Watch(QAbstractButton* button) {
  button->installEventFilter(this);
}

bool FocusFirstClicks::eventFilter(QObject* watched, QEvent* event) {
  auto* button = static_cast<QAbstractButton*>(watched);
  switch (event->type()) {
    case QEvent::Shortcut:
      if (static_cast<QShortcutEvent*>(event)->isAmbiguous()) return false;
      button->setFocus(Qt::ShortcutFocusReason);
      if (!Interrupted(*button)) button->click();
      return true;
    case QEvent::MouseButtonPress:
      // Qt has moved the focus for the press before delivering it.
      return Interrupted(*button);
    default:
      return false;
  }
}

}  // namespace evo
