#include "views/frm_show.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <cstdint>
#include <limits>

#include "support/accessible.h"
#include "support/scripted_dialogs.h"
#include "views/views_test_support.h"

namespace evo::test {
namespace {

const QString kTen(10, ' ');

// A gene display window opened over a file of the given bytes for a population of the given
// size, as the main window opens it.
struct ShowWindow {
  ShowWindow(const std::string& bytes, std::int32_t populationSize)
      : disk(bytes), window(new FrmShow(disk.file, populationSize, dialogs)) {
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  void Click(const char* button) {
    QTest::mouseClick(window.child<QPushButton>(button), Qt::LeftButton);
  }
  void ForceLocation(const QString& answer) {
    dialogs.answers.push_back(answer);
    Click("Command6");
  }
  QStringList Lines() const {
    QStringList lines;
    const auto* list = window.child<QListWidget>("List1");
    for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
    return lines;
  }
  QString Range() const { return window.child<QLabel>("Label1")->text(); }

  ScriptedDialogs dialogs;
  PopulationOnDisk disk;
  WindowUnderTest<FrmShow> window;  // last: it reads the file and asks the dialogs
};

TEST(FrmShow, LaysOutTheFormAsDesigned) {
  ShowWindow show(NumberedRecords(100), 100);
  FrmShow* window = show.window.get();
  EXPECT_EQ(window->windowTitle(), "Display of Genes");
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->size(), QSize(292, 464));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  ExpectCentred(*window);
  EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));

  ExpectTwips(show.window.child<QListWidget>("List1"), 840, 360, 2655, 4155);
  ExpectTwips(show.window.child<QLabel>("Label1"), 360, 4800, 3135, 375);
  ExpectFont(show.window.child<QLabel>("Label1"), 12, true);
  struct Button {
    const char* name;
    const char* caption;
    int left, top, width;
    double points;
  };
  for (const Button& b : {Button{"Command1", "<<", 120, 5520, 735, 19.5},
                          Button{"Command2", "<", 1080, 5520, 735, 19.5},
                          Button{"Command3", ">", 2040, 5520, 735, 19.5},
                          Button{"Command4", ">>", 3000, 5520, 855, 19.5},
                          Button{"Command5", "Quit", 120, 6120, 1095, 13.5},
                          Button{"Command6", "force location", 1800, 6120, 2055, 13.5}}) {
    const auto* button = show.window.child<QPushButton>(b.name);
    ExpectTwips(button, b.left, b.top, b.width, 495);
    ExpectFont(button, b.points, true);
    EXPECT_EQ(button->text(), b.caption);
  }

  // The focus starts on "<<" and Tab walks the buttons, then the list, then back to "<<".
  EXPECT_EQ(window->focusWidget(), show.window.child<QWidget>("Command1"));
  QStringList chain;
  QWidget* control = show.window.child<QWidget>("Command1");
  do {
    if (control->focusPolicy() & Qt::TabFocus) chain << control->objectName();
    control = control->nextInFocusChain();
  } while (control != show.window.child<QWidget>("Command1"));
  EXPECT_EQ(chain, QStringList({"Command1", "Command2", "Command3", "Command4", "Command5",
                                "Command6", "List1"}));
}

TEST(FrmShow, PagesThroughAPopulationOfAHundred) {
  ShowWindow show(NumberedRecords(100), 100);
  EXPECT_EQ(show.Lines(), NumberedLines(1, 20));
  EXPECT_EQ(show.Range(), "range 1 to  20");

  show.Click("Command3");
  EXPECT_EQ(show.Lines(), NumberedLines(21, 41));
  EXPECT_EQ(show.Range(), "range  21 to  41");
  show.Click("Command3");
  EXPECT_EQ(show.Lines(), NumberedLines(41, 61));

  show.Click("Command4");
  EXPECT_EQ(show.Lines(), NumberedLines(80, 100));
  EXPECT_EQ(show.Range(), "range  80 to  100");
  show.Click("Command3");
  EXPECT_EQ(show.Lines(), NumberedLines(80, 100));
  show.Click("Command2");
  EXPECT_EQ(show.Lines(), NumberedLines(60, 80));

  show.Click("Command1");
  EXPECT_EQ(show.Lines(), NumberedLines(1, 21));
  EXPECT_EQ(show.Range(), "range  1 to  21");
  show.Click("Command2");
  EXPECT_EQ(show.Lines(), NumberedLines(1, 21));
  EXPECT_TRUE(show.window->isVisible());
}

TEST(FrmShow, StartsWhereTheInputBoxSaysWithinRange) {
  ShowWindow show(NumberedRecords(100), 100);
  struct Case {
    QString answer;
    int first;
  };
  for (const Case& c : {Case{"50", 50}, Case{"95", 80}, Case{"0", 1}, Case{"-5", 1}, Case{"", 1},
                        Case{"abc", 1}, Case{"2.5", 2}, Case{"3.5", 4}, Case{"99999999999", 80},
                        Case{"-1E+300", 1}, Case{"2147483647", 80}}) {
    show.Click("Command4");  // away from the page expected, so that a page left unchanged shows
    if (c.first == 80) show.Click("Command1");
    show.ForceLocation(c.answer);
    EXPECT_EQ(show.Lines(), NumberedLines(c.first, c.first + 20)) << c.answer.toStdString();
  }
  EXPECT_EQ(show.dialogs.prompts.size(), 11);
  EXPECT_EQ(show.dialogs.prompts.front(), "What value shall we start with?");
  EXPECT_TRUE(show.dialogs.messages.isEmpty());

  show.Click("Command4");
  show.Click("Command6");  // nothing scripted: the box is cancelled
  EXPECT_EQ(show.Lines(), NumberedLines(1, 21));
}

TEST(FrmShow, KeepsSmallPopulationsToTheirOwnCritters) {
  {
    ShowWindow show(NumberedRecords(30), 21);
    EXPECT_EQ(show.Lines(), NumberedLines(1, 20));
    show.Click("Command4");
    EXPECT_EQ(show.Lines(), NumberedLines(1, 21));
    show.Click("Command3");
    EXPECT_EQ(show.Lines(), NumberedLines(1, 21));
  }
  {
    // Record 21 holds a stale offspring; it is no critter of a population of 20.
    ShowWindow show(NumberedRecords(21), 20);
    EXPECT_EQ(show.Lines(), NumberedLines(1, 20));
    EXPECT_EQ(show.Range(), "range 1 to  20");
    for (const char* button : {"Command1", "Command2", "Command3", "Command4"}) {
      show.Click(button);
      EXPECT_EQ(show.Lines(), NumberedLines(1, 20)) << button;
      EXPECT_EQ(show.Range(), "range  1 to  20") << button;
    }
  }
  {
    ShowWindow show(NumberedRecords(5), 5);
    EXPECT_EQ(show.Lines(), NumberedLines(1, 5));
    EXPECT_EQ(show.Range(), "range 1 to  5");
    show.Click("Command4");
    EXPECT_EQ(show.Lines(), NumberedLines(1, 5));
    show.ForceLocation("3");
    EXPECT_EQ(show.Lines(), NumberedLines(1, 5));
  }
}

TEST(FrmShow, ListsBlankLinesPastTheEndOfTheFile) {
  // 25 whole records and 3 bytes of a 26th, for a population-size field raised to 30.
  ShowWindow show(NumberedRecords(25) + "123", 30);
  show.Click("Command4");
  QStringList expected = NumberedLines(10, 25);
  expected << "123" + QString(7, ' ') << kTen << kTen << kTen << kTen;
  EXPECT_EQ(show.Lines(), expected);
  EXPECT_EQ(show.Range(), "range  10 to  30");
}

TEST(FrmShow, ReachesTheLargestPopulationNumberWithoutOverflow) {
  constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
  ShowWindow show(NumberedRecords(3), kLargest);
  show.Click("Command4");
  EXPECT_EQ(show.Range(), "range  2147483627 to  2147483647");
  EXPECT_EQ(show.Lines(), QStringList(21, kTen));
  show.Click("Command3");
  EXPECT_EQ(show.Range(), "range  2147483627 to  2147483647");
  show.ForceLocation("1E+30");
  EXPECT_EQ(show.Range(), "range  2147483627 to  2147483647");
}

TEST(FrmShow, ShowsAnEmptyPageForNoCritters) {
  for (const std::int32_t size : {0, -5, std::numeric_limits<std::int32_t>::min()}) {
    ShowWindow show(NumberedRecords(3), size);
    EXPECT_TRUE(show.Lines().isEmpty()) << size;
    EXPECT_EQ(show.Range(), "range 1 to  0") << size;
    for (const char* button : {"Command1", "Command2", "Command3", "Command4"}) show.Click(button);
    show.ForceLocation("7");
    EXPECT_TRUE(show.Lines().isEmpty()) << size;
    EXPECT_EQ(show.Range(), "range  1 to  0") << size;
  }
}

TEST(FrmShow, ClosesAndTellsByQuitOrByTheTitleBar) {
  for (const bool byTitleBar : {false, true}) {
    ShowWindow show(NumberedRecords(100), 100);
    QSignalSpy closed(show.window.get(), &FrmShow::closed);
    if (byTitleBar) {
      show.window->windowHandle()->close();
    } else {
      show.Click("Command5");
    }
    EXPECT_EQ(closed.count(), 1) << byTitleBar;
    DeleteClosedWindows();
    EXPECT_FALSE(show.window.alive()) << byTitleBar;
  }
}

TEST(FrmShow, SpeaksThePagingButtonsByWhatTheyDoAndNamesTheList) {
  ShowWindow show(NumberedRecords(100), 100);
  const std::pair<const char*, const char*> buttons[] = {{"Command1", "first page"},
                                                         {"Command2", "previous page"},
                                                         {"Command3", "next page"},
                                                         {"Command4", "last page"}};
  for (const auto& [button, name] : buttons) {
    EXPECT_EQ(Spoken(show.window.child<QWidget>(button), QAccessible::Name), name) << button;
  }
  EXPECT_EQ(show.window.child<QPushButton>("Command1")->text(), "<<");
  EXPECT_FALSE(Spoken(show.window.child<QWidget>("List1"), QAccessible::Name).isEmpty());
}

// The page turns under the button that turned it: its description tells the new page, and goes
// back to its own once the focus moves on.
// The page turns under the button that turned it: screen readers are told the new page in a
// notice, and no control's description changes, which Orca could not speak.
TEST(FrmShow, TellsTheNewPageInANotice) {
  ShowWindow show(NumberedRecords(100), 100);
  auto* next = show.window.child<QPushButton>("Command3");
  EXPECT_EQ(NoticesTold([&] {
              show.Click("Command3");
              show.Click("Command3");
              show.ForceLocation("95");
            }),
            QStringList({"range 21 to 41, first genome 0000000021",
                         "range 41 to 61, first genome 0000000041",
                         "range 80 to 100, first genome 0000000080"}));
  EXPECT_EQ(Spoken(next, QAccessible::Description), "");
  EXPECT_EQ(Spoken(show.window.child<QWidget>("Command6"), QAccessible::Description), "");
}

}  // namespace
}  // namespace evo::test
