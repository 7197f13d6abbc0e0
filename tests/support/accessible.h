// What a screen reader learns of a control through Qt's accessibility interfaces.
#pragma once

#include <QAccessible>
#include <QString>
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

}  // namespace evo::test
