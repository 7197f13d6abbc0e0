// What screen readers are told of a drop-down choice (a QComboBox that takes no typing), in place
// of Qt's own account.
#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace evo {

// Orca 43 finds a choice's current item through an interface that Qt 6.4 does not offer for it,
// so that it hears "Compare combo box" without the item and, when an arrow key changes the item,
// nothing at all. This one tells the item as the choice's text, and a change of it made while the
// choice has the focus and its list is closed in the window's notice.
class ChoiceAccessible final : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ChoiceAccessible(QComboBox* choice);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text kind) const override;
  QAccessible::State state() const override;
  QStringList actionNames() const override;
  void doAction(const QString& action) override;

  // The current item's text, read only.
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override { return 0; }
  void addSelection(int, int) override {}
  void removeSelection(int) override {}
  void setSelection(int, int, int) override {}
  int cursorPosition() const override { return 0; }
  void setCursorPosition(int) override {}
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                       int* endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int) const override { return {}; }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

 private:
  QComboBox* Choice() const;
};

}  // namespace evo
