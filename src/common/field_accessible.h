// What screen readers are told of a one-line text field (QLineEdit), in place of Qt's own account.
#pragma once

#include <QAccessibleWidget>

class QLineEdit;

namespace evo {

// Qt 6.4's own account of a line edit says that every character stands in a run of text
// attributes that ends where it starts, from which Orca builds the field's text one character
// short ("10" for "100", on focus and on selection); and asked for the word or sentence at the
// end of the text it loops without end, which freezes the program. This one tells one run of no
// attributes over the whole text, and finds every item of text within the text's ends.
// Editing through it (as a screen reader or a script may) keeps to what the user could type:
// nothing in a read-only field, nothing the field's validator refuses.
class FieldAccessible final : public QAccessibleWidget,
                              public QAccessibleTextInterface,
                              public QAccessibleEditableTextInterface {
 public:
  explicit FieldAccessible(QLineEdit* field);

  void* interface_cast(QAccessible::InterfaceType type) override;
  QString text(QAccessible::Text kind) const override;
  void setText(QAccessible::Text kind, const QString& text) override;
  QAccessible::State state() const override;

  // Text.
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                       int* endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  // Editable text.
  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;

 private:
  QLineEdit* Field() const;
  // Puts text in the field if the user could have typed it there.
  void Edit(const QString& text);
};

}  // namespace evo
