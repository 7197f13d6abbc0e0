#include "mainwin/leave_validation.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>
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
  box->window()->installEventFilter(this);  // for the message boxes that block it
}

bool LeaveValidation::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::WindowBlocked) {
    boxOpened_ = boxOpened_ || running_;
    return false;
  }
  if (event->type() != QEvent::FocusOut) return false;
  const auto handler = handlers_.find(watched);
  if (handler == handlers_.end()) return false;
  // The box finishes its own focus-out first (caret, selection); done after a validation that
  // gave the focus back, it would leave the focused box without a blinking caret.
  static_cast<QObject*>(watched)->event(event);
  if (!running_ && IsMoveWithinWindow(static_cast<QFocusEvent*>(event)->reason())) {
    Validate(handler->second);
  }
  return true;
}

void LeaveValidation::Validate(const Handler& handler) {
  // Qt has already made the control the focus moves to the focus widget.
  QWidget* const destination = QApplication::focusWidget();
  running_ = true;
  boxOpened_ = false;
  handler();
  running_ = false;
  if (!boxOpened_) return;
  // The click or access key that made the move is being delivered now; once it has been, the
  // mark must not outlive it.
  interruptedMove_ = destination;
  QTimer::singleShot(0, this, [this] { interruptedMove_ = nullptr; });
}

}  // namespace evo
