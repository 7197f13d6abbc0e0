// A note of what the user has just done, such as a copy to the clipboard, seen and heard.
#pragma once

#include <QObject>
#include <QTimer>

class QLabel;
class QString;

namespace evo {

// Shows the note for a few seconds in its label, hidden otherwise (holding the last note, or a
// note that there is none yet, so that screen readers find no empty label), and tells it to
// screen readers through the window's notice.
class BriefNote final : public QObject {
 public:
  explicit BriefNote(QLabel& label);

  void Show(const QString& note);

 private:
  QLabel& label_;
  QTimer shown_;
};

}  // namespace evo
