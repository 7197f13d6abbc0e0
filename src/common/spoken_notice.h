// Telling screen readers what changed where the user did not move to hear it: a page turned
// under the button that turned it, a copy made, a run's counter, a batch of runs ended.
#pragma once

#include <QWidget>

class QString;

namespace evo {

// A notice that screen readers speak as it appears, and that draws nothing. Orca 43 speaks a
// notification as it is shown, and keeps it in its list of notifications; a change of the
// focused control's name or description, the other way to tell it, reaches Orca from Qt 6.4
// without its new text, which Orca cannot speak.
class SpokenNotice final : public QWidget {
  Q_OBJECT

 public:
  explicit SpokenNotice(QWidget& window);

  // Shows the notice with text as its name, then hides it again.
  void Tell(const QString& text);

 protected:
  void paintEvent(QPaintEvent*) override {}
};

// Tells text through the window's notice, made when first needed. Nothing is told while the
// window is hidden.
void TellScreenReaders(QWidget& window, const QString& text);

}  // namespace evo
