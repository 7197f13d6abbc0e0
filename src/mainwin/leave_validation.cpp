#include "mainwin/leave_validation.h"

#include <QFocusEvent>
#include <QWidget>

namespace evo {
namespace {

bool IsMoveWithinWindow(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace

void LeaveValidation::Watch(QWidget* box, Handler handler) {
  handlers_[box] = std::move(handler);
  box->installEventFilter(this);
}

bool LeaveValidation::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::FocusOut) return false;
  const auto handler = handlers_.find(watched);
  if (handler == handlers_.end()) return false;
  // The box finishes its own focus-out first (caret, selection); done after a validation that
  // gave the focus back, it would leave the focused box without a blinking caret.
  static_cast<QObject*>(watched)->event(event);
  if (running_ || !IsMoveWithinWindow(static_cast<QFocusEvent*>(event)->reason())) return true;
  running_ = true;
  handler->second();
  running_ = false;
  return true;
}

}  // namespace evo
