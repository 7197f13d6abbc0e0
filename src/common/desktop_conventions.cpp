#include "common/desktop_conventions.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace evo {
namespace {

// Clicks a watched button on Enter or Return, the way QPushButton does for an auto-default
// button; auto-default itself is not used because it draws the focused button as the default.
class EnterClicksButton final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    static_cast<QPushButton*>(watched)->click();
    return true;
  }
};

}  // namespace

void LetEnterPressButtons(QWidget& window) {
  auto* filter = new EnterClicksButton(&window);
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    button->installEventFilter(filter);
  }
}

void TieLabelsToControls(QWidget& window) {
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    QWidget* control = label->buddy();
    if (control == nullptr) continue;
    if (control->accessibleName().isEmpty()) {
      control->setAccessibleName(QString(label->text()).remove('&'));
    }
    if (control->accessibleDescription().isEmpty()) {
      control->setAccessibleDescription(label->toolTip());
    }
  }
}

}  // namespace evo
