#include "common/choice_accessible.h"

#include <QAbstractItemView>
#include <QComboBox>

#include "common/spoken_notice.h"
#include "common/text_items.h"

namespace evo {

ChoiceAccessible::ChoiceAccessible(QComboBox* choice)
    : QAccessibleWidget(choice, QAccessible::ComboBox) {
  // Chosen from the open list, the item is heard in the list, and again with the choice as the
  // focus comes back to it.
  QObject::connect(choice, &QComboBox::currentIndexChanged, choice, [choice] {
    if (choice->hasFocus() && !choice->view()->isVisible()) {
      TellScreenReaders(*choice->window(), choice->currentText());
    }
  });
}

QComboBox* ChoiceAccessible::Choice() const {
  return static_cast<QComboBox*>(widget());
}

void* ChoiceAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QString ChoiceAccessible::text(QAccessible::Text kind) const {
  if (kind == QAccessible::Value) return Choice()->currentText();
  return QAccessibleWidget::text(kind);
}

QAccessible::State ChoiceAccessible::state() const {
  QAccessible::State state = QAccessibleWidget::state();
  state.expandable = true;
  state.expanded = Choice()->view()->isVisible();
  return state;
}

QStringList ChoiceAccessible::actionNames() const {
  return QStringList(showMenuAction()) << QAccessibleWidget::actionNames();
}

void ChoiceAccessible::doAction(const QString& action) {
  if (action == showMenuAction() || action == pressAction()) {
    Choice()->showPopup();
  } else {
    QAccessibleWidget::doAction(action);
  }
}

void ChoiceAccessible::selection(int, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
}

QString ChoiceAccessible::text(int startOffset, int endOffset) const {
  if (startOffset > endOffset) return {};
  return Choice()->currentText().mid(startOffset, endOffset - startOffset);
}

QString ChoiceAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                       int* startOffset, int* endOffset) const {
  return TextItem(Choice()->currentText(), offset, boundary, ItemPlace::At, startOffset, endOffset);
}

QString ChoiceAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                           int* startOffset, int* endOffset) const {
  return TextItem(Choice()->currentText(), offset, boundary, ItemPlace::Before, startOffset,
                  endOffset);
}

QString ChoiceAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                          int* startOffset, int* endOffset) const {
  return TextItem(Choice()->currentText(), offset, boundary, ItemPlace::After, startOffset,
                  endOffset);
}

int ChoiceAccessible::characterCount() const {
  return static_cast<int>(Choice()->currentText().size());
}

QString ChoiceAccessible::attributes(int, int* startOffset, int* endOffset) const {
  *startOffset = 0;
  *endOffset = characterCount();
  return {};
}

}  // namespace evo
