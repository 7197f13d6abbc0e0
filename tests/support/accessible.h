// What a screen reader learns of a control through Qt's accessibility interfaces.
#pragma once

#include <QAccessible>
#include <QString>
#include <QWidget>

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

// While it lives, Qt sends its accessibility events as if a screen reader were listening (the
// offscreen platform has none), and they are recorded.
class ScreenReaderListening {
 public:
  ScreenReaderListening();
  ~ScreenReaderListening();
  ScreenReaderListening(const ScreenReaderListening&) = delete;
  ScreenReaderListening& operator=(const ScreenReaderListening&) = delete;

  // How many events of the kind were told about the control.
  static int Told(QAccessible::Event kind, const QObject* control);
};

}  // namespace evo::test
