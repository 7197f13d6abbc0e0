// Runs a text box's validation when the focus leaves it for another control of its window.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

class QWidget;

namespace evo {

// A box loses the focus for many reasons; only a move to another control of the window (by Tab,
// a click, an access key or a program's setFocus) is the user leaving the field. A message box
// opening, the window losing or regaining activation, or a popup such as the box's own context
// menu take the focus away only for a while, and leave the field as it is.
//
// While one validation runs, the focus moves it makes do not start another: a validation that
// takes the focus back makes Qt send a FocusOut to the control the focus had gone to, and two
// boxes that both refuse their texts would otherwise take the focus from each other for ever.
class LeaveValidation : public QObject {
 public:
  using Handler = std::function<void()>;

  explicit LeaveValidation(QObject* parent = nullptr) : QObject(parent) {}

  void Watch(QWidget* box, Handler handler);

  // True while the focus move to control that is being made now was interrupted by a message
  // box that a validation opened: the user has answered a box since the click or access key
  // that made the move (and the box took the mouse button's release), so it must not click.
  bool Interrupted(const QWidget& control) const { return interruptedMove_ == &control; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Validate(const Handler& handler);

  std::map<const QObject*, Handler> handlers_;
  bool running_ = false;
  bool boxOpened_ = false;
  QPointer<QWidget> interruptedMove_;
};

}  // namespace evo
