// Clicks that first take the focus, as they do on the desktop the program was designed for.
#pragma once

#include <QObject>

class QAbstractButton;

namespace evo {

// Qt clicks a button by its access key without moving the focus, so the text box being left
// would be validated only after the command had read it. With this filter an access key moves
// the focus to its button first (validating the box left behind) and then clicks. A repeated
// access key is left to Qt, which moves the focus from one of its buttons to the next.
//
// A validation that refuses a text may take the focus back to its box; a click whose button has
// lost the focus that way does not happen, whether it came from the access key or the mouse.
class FocusFirstClicks : public QObject {
 public:
  explicit FocusFirstClicks(QObject* parent = nullptr) : QObject(parent) {}

  void Watch(QAbstractButton* button);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace evo
