// Clicks that first take the focus, as they do on the desktop the program was designed for.
#pragma once

#include <QObject>

#include "mainwin/leave_validation.h"

class QAbstractButton;

namespace evo {

// Qt clicks a button by its access key without moving the focus, so the text box being left
// would be validated only after the command had read it. With this filter an access key moves
// the focus to its button first (validating the box left behind) and then clicks. A repeated
// access key is left to Qt, which moves the focus from one of its buttons to the next.
//
// A validation that refuses a text may take the focus back to its box, or show a message box;
// either interrupts the click, whether it came from the access key or the mouse: it does not
// happen, and the button is not left drawn pressed.
class FocusFirstClicks : public QObject {
 public:
  explicit FocusFirstClicks(const LeaveValidation& validation, QObject* parent = nullptr)
      : QObject(parent), validation_(validation) {}

  void Watch(QAbstractButton* button);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Interrupted(const QAbstractButton& button) const;

  const LeaveValidation& validation_;
};

}  // namespace evo
