// What a screen reader learns of a control through Qt's accessibility interfaces.
#pragma once

#include <QAccessible>
#include <QString>
#include <QWidget>

namespace evo::test {

inline QString Spoken(QWidget* control, QAccessible::Text text) {
  return QAccessible::queryAccessibleInterface(control)->text(text);
}

// Whether a screen reader is told that the label captions the control.
inline bool LabelledBy(QWidget* control, QWidget* label) {
  const auto relations =
      QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label);
  for (const auto& [other, relation] : relations) {
    if (other->object() == label) return true;
  }
  return false;
}

}  // namespace evo::test
