#include "common/spoken_notice.h"

#include <QString>

namespace evo {

SpokenNotice::SpokenNotice(QWidget& window) : QWidget(&window) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(0, 0, 1, 1);
  hide();
}

// Shown and hidden at once: the notice is heard as it appears, and is never left standing to be
// heard again when its window comes back.
void SpokenNotice::Tell(const QString& text) {
  setAccessibleName(text);
  show();
  hide();
}

void TellScreenReaders(QWidget& window, const QString& text) {
  auto* notice = window.findChild<SpokenNotice*>(QString(), Qt::FindDirectChildrenOnly);
  if (notice == nullptr) notice = new SpokenNotice(window);
  notice->Tell(text);
}

}  // namespace evo
