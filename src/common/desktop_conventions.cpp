#include "common/desktop_conventions.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaClassInfo>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QWidget>

#include "common/figure_label.h"

namespace evo {
namespace {

// Clicks a watched button on Enter or Return, the way QPushButton does for an auto-default
// button; auto-default itself is not used because it draws the focused button as the default.
// A held key's repeats are swallowed: one that lands on the button a click has just moved the
// focus to (Halt Run after Run Indefinately) would press that one too.
class EnterClicksButton final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    if (!key->isAutoRepeat()) static_cast<QPushButton*>(watched)->click();
    return true;
  }
};

// A figure's voice (FigureVoice), unless the label holds a name of its own. Without one,
// QLabel::setText announces each new figure with a name-change event.
class SpokenFigure final : public QAccessibleWidget {
 public:
  explicit SpokenFigure(QLabel* figure) : QAccessibleWidget(figure, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Name || !widget()->accessibleName().isEmpty()) {
      return QAccessibleWidget::text(kind);
    }
    return FigureVoice(*static_cast<const QLabel*>(widget()));
  }
};

// Asked for each class of an object from the most derived up; Qt's own factory, installed later,
// answers first for Qt's classes. A window of the program is built straight on QWidget, which Qt
// would report as a filler.
QAccessibleInterface* ProgramAccessible(const QString& className, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  const QMetaObject& meta = *object->metaObject();
  if (className != QLatin1String(meta.className())) return nullptr;
  if (qobject_cast<FigureLabel*>(widget) != nullptr) {
    return new SpokenFigure(static_cast<FigureLabel*>(widget));
  }
  if (IsChart(*widget)) return new QAccessibleWidget(widget, QAccessible::Chart);
  if (widget->isWindow() && meta.superClass() == &QWidget::staticMetaObject) {
    return new QAccessibleWidget(widget, QAccessible::Window);
  }
  return nullptr;
}

// Installed as the application starts: Qt keeps the first interface it makes for an object, and
// a window asks for its own while its form is still being set up.
void InstallProgramAccessible() {
  QAccessible::installFactory(ProgramAccessible);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProgramAccessible)

void OpenContextMenuFromKeyboard(QWidget& target, const QWidget& at) {
  const QPoint centre = at.mapTo(&target, at.rect().center());
  QContextMenuEvent menu(QContextMenuEvent::Keyboard, centre, target.mapToGlobal(centre));
  QCoreApplication::sendEvent(&target, &menu);
}

bool IsChart(const QWidget& widget) {
  const QMetaObject& meta = *widget.metaObject();
  const int index = meta.indexOfClassInfo("AccessibleRole");
  return index >= 0 && qstrcmp(meta.classInfo(index).value(), "Chart") == 0;
}

QString FigureVoice(const QLabel& figure) {
  QStringList words;
  for (const QLabel* label : figure.window()->findChildren<QLabel*>()) {
    if (label->buddy() == &figure) words << QString(label->text()).remove('&');
  }
  words << figure.text().trimmed();
  words.removeAll(QString());
  return words.join(' ');
}

void LetEnterPressButtons(QWidget& window) {
  auto* filter = new EnterClicksButton(&window);
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    button->installEventFilter(filter);
  }
}

void LetEscapePress(QAbstractButton& button) {
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), button.window());
  QObject::connect(escape, &QShortcut::activated, &button, &QAbstractButton::click);
}

void TieLabelsToControls(QWidget& window) {
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    QWidget* control = label->buddy();
    if (control == nullptr) continue;
    if (control->accessibleName().isEmpty() && qobject_cast<FigureLabel*>(control) == nullptr) {
      control->setAccessibleName(QString(label->text()).remove('&'));
    }
    if (control->accessibleDescription().isEmpty()) {
      control->setAccessibleDescription(label->toolTip());
    }
  }
}

}  // namespace evo
