// What a screen reader learns of a control through Qt's accessibility interfaces.
#pragma once

#include <QAccessible>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace evo::test {

inline QAccessibleInterface* Accessible(QWidget* control) {
  return QAccessible::queryAccessibleInterface(control);
}

inline QString Spoken(QWidget* control, QAccessible::Text text) {
  return Accessible(control)->text(text);
}

// Whether a screen reader is told that the label captions the control.
inline bool LabelledBy(QWidget* control, QWidget* label) {
  const auto relations = Accessible(control)->relations(QAccessible::Label);
  for (const auto& [other, relation] : relations) {
    if (other->object() == label) return true;
  }
  return false;
}

// How many name-change events a screen reader would be told of the control while action runs.
int NameChangesTold(const QObject* control, const std::function<void()>& action);

// The notices (notifications shown) that a screen reader would be told while action runs, each
// with the name it had as it was shown, in order.
QStringList NoticesTold(const std::function<void()>& action);

// The kinds of event that a screen reader would be told of the object while action runs, in
// order.
QList<QAccessible::Event> EventsTold(const QObject* object, const std::function<void()>& action);

// When, in milliseconds from the start of action, a screen reader would be told of each change
// of the control's name while action runs.
QList<qint64> NameChangeTimes(const QObject* control, const std::function<void()>& action);

}  // namespace evo::test
