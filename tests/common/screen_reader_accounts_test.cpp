// What screen readers are told of the program's fields, choices and notices, where Qt 6.4's own
// account leads Orca astray.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <ostream>

#include "common/figure_label.h"
#include "common/spoken_notice.h"
#include "common/spoken_pace.h"
#include "support/accessible.h"

namespace evo::test {
namespace {

struct Item {
  QString text;
  int start;
  int end;
  bool operator==(const Item&) const = default;
};

void PrintTo(const Item& item, std::ostream* out) {
  *out << '"' << item.text.toStdString() << "\" " << item.start << '-' << item.end;
}

Item At(QAccessibleTextInterface& text, int offset, QAccessible::TextBoundaryType boundary) {
  Item item;
  item.text = text.textAtOffset(offset, boundary, &item.start, &item.end);
  return item;
}

Item Before(QAccessibleTextInterface& text, int offset, QAccessible::TextBoundaryType boundary) {
  Item item;
  item.text = text.textBeforeOffset(offset, boundary, &item.start, &item.end);
  return item;
}

Item After(QAccessibleTextInterface& text, int offset, QAccessible::TextBoundaryType boundary) {
  Item item;
  item.text = text.textAfterOffset(offset, boundary, &item.start, &item.end);
  return item;
}

class Accounts : public ::testing::Test {
 protected:
  Accounts() {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(field);
    layout->addWidget(empty);
    layout->addWidget(choice);
    choice->addItems({"nothing", "good mutation probability", "mutations per cycle"});
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QAccessibleTextInterface& TextOf(QWidget* widget) {
    QAccessibleTextInterface* text = Accessible(widget)->textInterface();
    if (text == nullptr) throw std::runtime_error("no text interface");
    return *text;
  }

  QWidget window;
  QLineEdit* field = new QLineEdit("100 12");
  QLineEdit* empty = new QLineEdit;
  QComboBox* choice = new QComboBox;
};

// Orca builds a field's line from its runs of attributes: runs that end where they start made it
// hear "10" for "100". The items at the end of the text froze the program in Qt's own account.
TEST_F(Accounts, AFieldTellsItsWholeTextAndEveryItemWithinItsEnds) {
  QAccessibleTextInterface& text = TextOf(field);
  EXPECT_EQ(Accessible(field)->role(), QAccessible::EditableText);
  EXPECT_EQ(Spoken(field, QAccessible::Value), "100 12");
  EXPECT_EQ(text.text(0, text.characterCount()), "100 12");
  for (int offset = 0; offset <= 6; ++offset) {
    int start = -1;
    int end = -1;
    EXPECT_EQ(text.attributes(offset, &start, &end), "");
    EXPECT_EQ(std::pair(start, end), std::pair(0, 6)) << offset;
  }
  using enum QAccessible::TextBoundaryType;
  EXPECT_EQ(At(text, 1, CharBoundary), (Item{"0", 1, 2}));
  EXPECT_EQ(At(text, 1, WordBoundary), (Item{"100", 0, 3}));
  EXPECT_EQ(At(text, 2, LineBoundary), (Item{"100 12", 0, 6}));
  EXPECT_EQ(Before(text, 4, WordBoundary), (Item{" ", 3, 4}));
  EXPECT_EQ(After(text, 0, WordBoundary), (Item{" ", 3, 4}));
  for (const auto boundary : {CharBoundary, WordBoundary, SentenceBoundary, LineBoundary}) {
    EXPECT_EQ(At(text, 6, boundary), (Item{"", 6, 6})) << boundary;
    EXPECT_EQ(At(text, -1, boundary), (Item{"", 6, 6})) << boundary;
    EXPECT_EQ(After(text, 6, boundary), (Item{"", 6, 6})) << boundary;
    EXPECT_EQ(Before(text, 0, boundary), (Item{"", 0, 0})) << boundary;
    EXPECT_EQ(At(text, 7, boundary), (Item{"", -1, -1})) << boundary;
  }
  EXPECT_EQ(Before(text, 6, WordBoundary), (Item{"12", 4, 6}));
  field->setCursorPosition(5);
  EXPECT_EQ(At(text, -2, WordBoundary), (Item{"12", 4, 6})) << "-2: at the cursor";
  field->setSelection(0, 3);
  int start = -1;
  int end = -1;
  text.selection(0, &start, &end);
  EXPECT_EQ(std::pair(start, end), std::pair(0, 3));
  EXPECT_EQ(text.selectionCount(), 1);
}

// A screen reader or a script may write into a field: what the user could type there.
TEST_F(Accounts, AFieldIsEditedOnlyAsTheUserCouldEditIt) {
  QAccessibleEditableTextInterface* edit = Accessible(field)->editableTextInterface();
  ASSERT_NE(edit, nullptr);
  edit->replaceText(4, 6, "50");
  EXPECT_EQ(field->text(), "100 50");
  edit->deleteText(3, 6);
  edit->insertText(0, "2");
  EXPECT_EQ(field->text(), "2100");
  Accessible(field)->setText(QAccessible::Value, "7");
  EXPECT_EQ(field->text(), "7");

  field->setValidator(new QIntValidator(0, 99, field));
  edit->insertText(1, "x");
  EXPECT_EQ(field->text(), "7") << "refused by the validator";
  field->setReadOnly(true);
  edit->insertText(0, "1");
  Accessible(field)->setText(QAccessible::Value, "9");
  EXPECT_EQ(field->text(), "7") << "read only";
  EXPECT_TRUE(Accessible(field)->state().readOnly);
  EXPECT_FALSE(Accessible(field)->state().editable);
}

// Tab into an empty field told its cursor before its focus, which Orca took for the focus itself
// and then heard nothing.
TEST_F(Accounts, TabIntoAnEmptyFieldTellsTheFocusFirst) {
  field->setFocus(Qt::OtherFocusReason);
  const QList<QAccessible::Event> told =
      EventsTold(empty, [this] { QTest::keyClick(field, Qt::Key_Tab); });
  ASSERT_TRUE(empty->hasFocus());
  ASSERT_FALSE(told.isEmpty());
  EXPECT_EQ(told.first(), QAccessible::Focus);
  EXPECT_FALSE(told.contains(QAccessible::TextCaretMoved));

  QTest::keyClick(empty, Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_TRUE(field->hasFocus());
  EXPECT_EQ(field->selectedText(), "100 12") << "a field with text is selected as ever";
}

// Orca hears a choice's item as its text, and a change of it from the keyboard in a notice; one
// made in the open list it hears there.
TEST_F(Accounts, AChoiceTellsItsItemAndAChangeFromTheKeyboard) {
  choice->setFocus();
  EXPECT_EQ(Accessible(choice)->role(), QAccessible::ComboBox);
  QAccessibleTextInterface& text = TextOf(choice);
  EXPECT_EQ(text.text(0, text.characterCount()), "nothing");
  EXPECT_EQ(Spoken(choice, QAccessible::Value), "nothing");
  EXPECT_EQ(NoticesTold([this] { QTest::keyClick(choice, Qt::Key_Down); }),
            QStringList({"good mutation probability"}));
  EXPECT_EQ(text.text(0, text.characterCount()), "good mutation probability");

  EXPECT_EQ(NoticesTold([this] {
              choice->showPopup();
              ASSERT_TRUE(choice->view()->isVisible());
              choice->setCurrentIndex(2);
            }),
            QStringList());
  choice->hidePopup();
}

// A notice is heard as it appears and is never left standing, to be heard again when its window
// comes back; nothing is told in a hidden window.
TEST_F(Accounts, ANoticeIsShownOnlyAsItIsTold) {
  QStringList told = NoticesTold([this] {
    TellScreenReaders(window, "range 21 to 41");
    TellScreenReaders(window, "range 21 to 41");
  });
  EXPECT_EQ(told, QStringList({"range 21 to 41", "range 21 to 41"})) << "a repeat is heard too";
  auto* notice = window.findChild<SpokenNotice*>();
  ASSERT_NE(notice, nullptr);
  EXPECT_FALSE(notice->isVisible());
  EXPECT_EQ(window.findChildren<SpokenNotice*>().size(), 1) << "one notice a window";
  window.hide();
  EXPECT_EQ(NoticesTold([this] {
              TellScreenReaders(window, "unheard");
              window.show();
            }),
            QStringList());
}

// The counter of a run is told in the notice at the pace of speech: the figure here is the time
// since the run began, so each notice says when it was told. Only lower bounds are checked, which
// a busy machine cannot break.
TEST_F(Accounts, ARunsFigureIsToldInTheNoticeAtMostOnceAPauseAndNotAtItsEnd) {
  constexpr std::chrono::milliseconds kPause{60};
  auto* caption = new QLabel("Generations this run", &window);
  auto* figure = new FigureLabel("0", &window);
  caption->setBuddy(figure);
  SpokenPace pace(*figure, kPause);
  QElapsedTimer run;
  const auto change = [&](const QString& text) {
    figure->setText(text);
    pace.Changed();
    QTest::qWait(2);
  };
  const QStringList told = NoticesTold([&] {
    change("before");  // a change before the run: the notice's pace has not begun
    pace.Begin();
    run.start();
    while (run.elapsed() < 6 * kPause.count()) change(QString::number(run.elapsed()));
    pace.Flush();
    for (int i = 0; i < 5; ++i) change("after");
  });
  ASSERT_FALSE(told.isEmpty());
  qint64 last = 0;
  for (const QString& notice : told) {
    bool number = false;
    const qint64 at = notice.section(' ', -1).toLongLong(&number);
    ASSERT_TRUE(notice.startsWith("Generations this run ") && number)
        << notice.toStdString() << ": told outside the run";
    // Two clocks that count whole milliseconds may see the pause a millisecond short.
    EXPECT_GE(at - last, kPause.count() - 1)
        << "told at " << at << " ms, the one before at " << last;
    last = at;
  }
}

}  // namespace
}  // namespace evo::test
