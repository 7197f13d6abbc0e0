#include "common/desktop_conventions.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaClassInfo>
#include <QPushButton>
#include <QShortcut>
#include <QStringList>
#include <QWidget>

#include "common/choice_accessible.h"
#include "common/field_accessible.h"
#include "common/figure_label.h"
#include "common/spoken_notice.h"

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
// QLabel::setText announces each new figure with a name-change event. A figure that takes the
// focus names no caption beside its voice: Orca speaks a focused label's caption before its name,
// which holds the caption already.
class SpokenFigure final : public QAccessibleWidget {
 public:
  explicit SpokenFigure(QLabel* figure) : QAccessibleWidget(figure, QAccessible::StaticText) {}

  QString text(QAccessible::Text kind) const override {
    if (kind != QAccessible::Name || !widget()->accessibleName().isEmpty()) {
      return QAccessibleWidget::text(kind);
    }
    return FigureVoice(*static_cast<const QLabel*>(widget()));
  }

  QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
      QAccessible::Relation match) const override {
    if (widget()->focusPolicy() != Qt::NoFocus) match &= ~QAccessible::Relation(QAccessible::Label);
    return QAccessibleWidget::relations(match);
  }
};

// An empty field that Tab brings the focus to is given it as by any other move of the focus. A
// line edit that Tab brings the focus to selects its text, and an empty one tells screen readers
// of an empty selection and of its cursor before Qt tells them of the focus: Orca takes a cursor
// moved in a focused field for the focus itself, silently, and then hears the focus told as
// nothing new, so that the field is heard as nothing at all. Selecting no text changes nothing.
class EmptyFieldFocus final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::FocusIn) return false;
    const auto* field = qobject_cast<QLineEdit*>(watched);
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (field == nullptr || !field->text().isEmpty() ||
        (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
         reason != Qt::ShortcutFocusReason)) {
      return false;
    }
    QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(watched, &focus);
    return true;
  }
};

// Asked for each class of an object from the most derived up, before Qt's own factory, which
// the application installs as it starts. A window of the program is built straight on QWidget,
// which Qt would report as a filler.
QAccessibleInterface* ProgramAccessible(const QString& className, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  const QMetaObject& meta = *object->metaObject();
  if (className != QLatin1String(meta.className())) return nullptr;
  if (qobject_cast<FigureLabel*>(widget) != nullptr) {
    return new SpokenFigure(static_cast<FigureLabel*>(widget));
  }
  if (qobject_cast<SpokenNotice*>(widget) != nullptr) {
    return new QAccessibleWidget(widget, QAccessible::Notification);
  }
  if (&meta == &QLineEdit::staticMetaObject)
    return new FieldAccessible(static_cast<QLineEdit*>(widget));
  if (auto* choice = qobject_cast<QComboBox*>(widget); choice != nullptr && !choice->isEditable()) {
    return new ChoiceAccessible(choice);
  }
  if (IsChart(*widget)) return new QAccessibleWidget(widget, QAccessible::Chart);
  if (widget->isWindow() && meta.superClass() == &QWidget::staticMetaObject) {
    return new QAccessibleWidget(widget, QAccessible::Window);
  }
  return nullptr;
}

}  // namespace

void InstallProgramAccessibility() {
  QAccessible::installFactory(ProgramAccessible);
  QCoreApplication::instance()->installEventFilter(
      new EmptyFieldFocus(QCoreApplication::instance()));
}

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
      const QString name = QString(label->text()).remove('&');
      // Where the toolkit names the control after its label already, setting the same name only
      // tells screen readers of a change. Orca, when it takes such news of a control after the
      // focus has come to it, as it may on a busy machine, fails to speak it.
      const QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(control);
      if (spoken == nullptr || spoken->text(QAccessible::Name) != name) {
        control->setAccessibleName(name);
      }
    }
    // As its own tooltip, which the toolkit gives screen readers as the description without
    // any news of a change.
    if (control->accessibleDescription().isEmpty() && control->toolTip().isEmpty()) {
      control->setToolTip(label->toolTip());
    }
  }
}

}  // namespace evo
