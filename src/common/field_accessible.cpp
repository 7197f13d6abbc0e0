#include "common/field_accessible.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QValidator>

#include "common/text_items.h"

namespace evo {

FieldAccessible::FieldAccessible(QLineEdit* field)
    : QAccessibleWidget(field, QAccessible::EditableText) {}

QLineEdit* FieldAccessible::Field() const {
  return static_cast<QLineEdit*>(widget());
}

void* FieldAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (type == QAccessible::EditableTextInterface) {
    return static_cast<QAccessibleEditableTextInterface*>(this);
  }
  return QAccessibleWidget::interface_cast(type);
}

QString FieldAccessible::text(QAccessible::Text kind) const {
  if (kind == QAccessible::Value) return Field()->displayText();
  const QString text = QAccessibleWidget::text(kind);
  if (text.isEmpty() && kind == QAccessible::Description) return Field()->placeholderText();
  return text;
}

void FieldAccessible::setText(QAccessible::Text kind, const QString& text) {
  if (kind == QAccessible::Value) {
    Edit(text);
  } else {
    QAccessibleWidget::setText(kind, text);
  }
}

QAccessible::State FieldAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.readOnly = Field()->isReadOnly();
  state.editable = !Field()->isReadOnly();
  state.selectableText = true;
  state.passwordEdit = Field()->echoMode() != QLineEdit::Normal;
  return state;
}

void FieldAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  if (selectionIndex != 0 || !Field()->hasSelectedText()) return;
  *startOffset = Field()->selectionStart();
  *endOffset = Field()->selectionEnd();
}

int FieldAccessible::selectionCount() const {
  return Field()->hasSelectedText() ? 1 : 0;
}

void FieldAccessible::addSelection(int startOffset, int endOffset) {
  setSelection(0, startOffset, endOffset);
}

void FieldAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) Field()->deselect();
}

void FieldAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex == 0) Field()->setSelection(startOffset, endOffset - startOffset);
}

int FieldAccessible::cursorPosition() const {
  return Field()->cursorPosition();
}

void FieldAccessible::setCursorPosition(int position) {
  Field()->setCursorPosition(position);
}

QString FieldAccessible::text(int startOffset, int endOffset) const {
  if (startOffset > endOffset) return {};
  return Field()->displayText().mid(startOffset, endOffset - startOffset);
}

int FieldAccessible::characterCount() const {
  return static_cast<int>(Field()->displayText().size());
}

// Offset -2 stands for the cursor.
QString FieldAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                      int* startOffset, int* endOffset) const {
  return TextItem(Field()->displayText(), offset == -2 ? cursorPosition() : offset, boundary,
                  ItemPlace::At, startOffset, endOffset);
}

QString FieldAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                          int* startOffset, int* endOffset) const {
  return TextItem(Field()->displayText(), offset == -2 ? cursorPosition() : offset, boundary,
                  ItemPlace::Before, startOffset, endOffset);
}

QString FieldAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                         int* startOffset, int* endOffset) const {
  return TextItem(Field()->displayText(), offset == -2 ? cursorPosition() : offset, boundary,
                  ItemPlace::After, startOffset, endOffset);
}

QRect FieldAccessible::characterRect(int offset) const {
  QLineEdit& field = *Field();
  const QString text = field.displayText();
  if (offset < 0 || offset >= text.size()) return {};
  // The cursor's place is the one Qt tells of the text's layout, scrolled as it stands: the
  // characters are measured from it.
  const QFontMetrics metrics = field.fontMetrics();
  const QRect cursor = field.inputMethodQuery(Qt::ImCursorRectangle).toRect();
  const int origin =
      cursor.center().x() - metrics.horizontalAdvance(text.left(field.cursorPosition()));
  const QPoint topLeft(origin + metrics.horizontalAdvance(text.left(offset)), cursor.top());
  return {field.mapToGlobal(topLeft),
          QSize(metrics.horizontalAdvance(text.mid(offset, 1)), cursor.height())};
}

int FieldAccessible::offsetAtPoint(const QPoint& point) const {
  return Field()->cursorPositionAt(Field()->mapFromGlobal(point));
}

void FieldAccessible::scrollToSubstring(int startIndex, int endIndex) {
  Field()->setCursorPosition(endIndex);
  Field()->setCursorPosition(startIndex);
}

// A field's text has no attributes: one run of none covers it whole.
QString FieldAccessible::attributes(int, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

void FieldAccessible::deleteText(int startOffset, int endOffset) {
  Edit(Field()->text().remove(startOffset, endOffset - startOffset));
}

void FieldAccessible::insertText(int offset, const QString& text) {
  Edit(Field()->text().insert(offset, text));
}

void FieldAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
  Edit(Field()->text().replace(startOffset, endOffset - startOffset, text));
}

void FieldAccessible::Edit(const QString& text) {
  QLineEdit& field = *Field();
  if (field.isReadOnly()) return;
  QString edited = text;
  int position = 0;
  if (field.validator() != nullptr &&
      field.validator()->validate(edited, position) == QValidator::Invalid) {
    return;
  }
  field.setText(edited);
}

}  // namespace evo
