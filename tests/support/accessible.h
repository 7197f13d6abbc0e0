// What a screen reader learns of a control through Qt's accessibility interfaces.
#pragma once

#include <QAccessible>
#include <QString>
#include <QWidget>

namespace evo::test {

inline QString Spoken(QWidget* control, QAccessible::Text text) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
  return face == nullptr ? QString("(no interface)") : face->text(text);
}

// Whether a screen reader is told that the label captions the control.
inline bool LabelledBy(QWidget* control, QWidget* label) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
  if (face == nullptr) return false;
  for (const auto& [other, relation] : face->relations(QAccessible::Label)) {
    if (other->object() == label) return true;
  }
  return false;
}

}  // namespace evo::test
