#include "common/focus_note.h"

#include <QEvent>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace evo {
namespace {

constexpr char kOwnDescription[] = "evo-own-description";

// Gives the control its own description back when the focus leaves it, then goes.
class OwnDescription final : public QObject {
 public:
  OwnDescription(QWidget& control, QString description)
      : QObject(&control), description_(std::move(description)) {
    setObjectName(kOwnDescription);
    control.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) {
      static_cast<QWidget*>(watched)->setAccessibleDescription(description_);
      deleteLater();
    }
    return false;
  }

 private:
  QString description_;
};

}  // namespace

void TellThroughFocus(QWidget& window, const QString& text) {
  QWidget& control = window.focusWidget() != nullptr ? *window.focusWidget() : window;
  if (control.findChild<QObject*>(kOwnDescription, Qt::FindDirectChildrenOnly) == nullptr) {
    new OwnDescription(control, control.accessibleDescription());
  }
  control.setAccessibleDescription(text);
}

}  // namespace evo
