// The window "Repeated Runs" as a teacher uses it: opened from the main window, its fields
// checked, the main window's settings taken at Start, the runs drawn and written out, and the
// main window's population left alone.
#include "views/repeated_runs_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "common/messages.h"
#include "support/accessible.h"
#include "support/main_window_fixture.h"
#include "views/views_test_support.h"

namespace evo::test {
namespace {

class RepeatedRunsTest : public MainWindowTest {
 protected:
  RepeatedRunsWindow& Open() {
    QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
    const QList<RepeatedRunsWindow*> open = OpenWindows<RepeatedRunsWindow>();
    if (open.size() != 1) throw std::runtime_error("not exactly one Repeated Runs window open");
    return *open.front();
  }

  // Settings whose every run ends in the first mutation pass: ten critters of eights, a thousand
  // good mutations each pass.
  void QuickRuns() {
    Box("TxtPopSize").setText("10");
    Box("TxtStartNum").setText("8");
    Box("TxtGoodFactor").setText("1");
    Box("TxtMutateNum").setText("1000");
  }

  static QLineEdit& Field(RepeatedRunsWindow& runs, const char* name) {
    return *runs.findChild<QLineEdit*>(name);
  }

  // Presses Start and, when a batch began, waits for its end; whether one began.
  static bool StartAndFinish(RepeatedRunsWindow& runs) {
    QSignalSpy ended(&runs, &RepeatedRunsWindow::batchEnded);
    runs.findChild<QPushButton*>("CmdStart")->click();
    if (!runs.Running() && ended.isEmpty()) return false;
    return !ended.isEmpty() || ended.wait(60000);
  }

  static QStringList Row(RepeatedRunsWindow& runs, int row) {
    const auto& table = *runs.findChild<QTableWidget*>("TblFigures");
    QStringList cells;
    for (int c = 0; c < table.columnCount(); ++c) {
      cells << (table.item(row, c) != nullptr ? table.item(row, c)->text() : QString());
    }
    return cells;
  }

  static void Compare(RepeatedRunsWindow& runs, const QString& setting, const QString& values) {
    auto& choice = *runs.findChild<QComboBox*>("CboCompare");
    choice.setCurrentIndex(choice.findText(setting));
    Field(runs, "TxtCompareValues").setText(values);
  }
};

TEST_F(RepeatedRunsTest, OpensOnceByCtrlROrTheMainWindowsMenu) {
  // Shift+F10 on a button opens the main window's menu; its entry opens the window.
  Button("CmdCreate").setFocus();
  EXPECT_EQ(MenuOpenedBy([this] { QTest::keyClick(&window, Qt::Key_F10, Qt::ShiftModifier); },
                         "Repeated Runs..."),
            QStringList({"Repeated Runs...", "Help"}));
  const QList<RepeatedRunsWindow*> opened = OpenWindows<RepeatedRunsWindow>();
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened.front()->windowTitle(), "Repeated Runs");

  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_EQ(&Open(), opened.front()) << "one at a time, by Ctrl+R too";
  EXPECT_TRUE(window.isVisible()) << "not modal, and the main window stays";
}

// The main window's settings as they stand at Start, whatever changes after; its population, its
// counter and its record untouched by the runs.
TEST_F(RepeatedRunsTest, RunsTheMainWindowsSettingsAtStartAndLeavesItsPopulationAlone) {
  Click("CmdCreate");
  window.SetGenerationCounter(" 12");
  const std::string population = FileBytes("critter.dat");
  const std::size_t rows = window.simulation().Record().Rows().size();
  Box("TxtPopSize").setText("20");
  Box("TxtGoodFactor").setText(".5");
  Box("TxtMutateNum").setText("30");
  Box("TxtStartNum").setText("5");
  Button("OptSexOff").click();

  RepeatedRunsWindow& runs = Open();
  runs.findChild<QLineEdit*>("TxtRuns")->setText("4");
  runs.findChild<QLineEdit*>("TxtGenerationLimit")->setText("50");
  runs.findChild<QLineEdit*>("TxtSeed")->setText("9");
  QSignalSpy ended(&runs, &RepeatedRunsWindow::batchEnded);
  runs.findChild<QPushButton*>("CmdStart")->click();
  Box("TxtPopSize").setText("30");
  // A batch this small may end within Start itself.
  ASSERT_TRUE(!ended.isEmpty() || ended.wait(60000));

  runs.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&runs));
  QTest::keyClick(&runs, Qt::Key_C, Qt::ControlModifier);
  const QStringList lines = QApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5);
  for (int run = 1; run <= 4; ++run) {
    const QStringList fields = lines[run].split(',');
    EXPECT_EQ(fields[0], QString::number(run));
    EXPECT_EQ(fields.mid(2, 6).join(','), "20,0.5,30,OFF,ON,5") << lines[run].toStdString();
  }
  EXPECT_EQ(FileBytes("critter.dat"), population);
  EXPECT_EQ(window.GenerationCounter(), " 12");
  EXPECT_EQ(window.simulation().Record().Rows().size(), rows);
  EXPECT_TRUE(runs.findChild<QWidget*>("Histogram")->accessibleDescription().startsWith("4 runs"));
}

TEST_F(RepeatedRunsTest, RefusesEntriesOutsideTheirRangeWithAMessageNamingIt) {
  RepeatedRunsWindow& runs = Open();
  const auto start = [&runs] { runs.findChild<QPushButton*>("CmdStart")->click(); };
  runs.findChild<QLineEdit*>("TxtRuns")->setText("0");
  start();
  runs.findChild<QLineEdit*>("TxtRuns")->setText("100");
  runs.findChild<QLineEdit*>("TxtSeed")->setText("-1");
  start();
  runs.findChild<QLineEdit*>("TxtSeed")->setText("1");
  runs.findChild<QComboBox*>("CboCompare")->setCurrentIndex(1);
  for (const char* values : {"2", "", ".1 x"}) {
    runs.findChild<QLineEdit*>("TxtCompareValues")->setText(values);
    start();
  }
  Box("TxtStartNum").setText("9");
  runs.findChild<QLineEdit*>("TxtCompareValues")->setText(".1 .2");
  start();
  EXPECT_FALSE(runs.Running());
  const QString values =
      "Values of good mutation probability must be 1 to 10 numbers, each a number from 0 to 1, "
      "such as .05, .1, .2.";
  EXPECT_EQ(dialogs.messages,
            QStringList({"Runs must be a whole number from 1 to 10000.",
                         "Seed must be a whole number from 0 to 4294967295.", values, values,
                         values, "values must be in range 1 to 8"}));
}

// Two values of clearly different outcomes: with no good mutation every run ends in an all-bad
// genome, with nothing but good ones in a perfect one. Each row stands under the value that made
// its runs.
TEST_F(RepeatedRunsTest, GroupsTheRunsUnderTheValueThatMadeThem) {
  QuickRuns();
  Box("TxtStartNum").setText("2");
  RepeatedRunsWindow& runs = Open();
  Field(runs, "TxtRuns").setText("3");
  Compare(runs, "good mutation probability", "0, 1");
  ASSERT_TRUE(StartAndFinish(runs));
  EXPECT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(" | ").toStdString();
  EXPECT_EQ(Row(runs, 0).mid(0, 5), QStringList({"0", "3", "0", "3", "0"}));
  EXPECT_EQ(Row(runs, 1).mid(0, 5), QStringList({"1", "3", "3", "0", "0"}));
  EXPECT_EQ(runs.findChild<QLabel*>("LblSettings")->text().split('\n').last(),
            "Compared: good mutation probability 0, 1. 3 runs of each value from seed " +
                Field(runs, "TxtSeed").text() +
                ", each to a detected genome or to generation "
                "10000.");
}

// The least and the most each field takes start a batch; one past either end is refused, naming
// the field and its range.
TEST_F(RepeatedRunsTest, EachFieldTakesItsWholeRangeAndNothingPast) {
  QuickRuns();
  RepeatedRunsWindow& runs = Open();
  const struct {
    const char* field;
    const char* taken[2];
    const char* refused[2];
    QString message;
  } cases[] = {
      {"TxtRuns", {"1", "10000"}, {"0", "10001"}, "Runs must be a whole number from 1 to 10000."},
      {"TxtGenerationLimit",
       {"1", "1000000"},
       {"0", "1000001"},
       "Generation limit must be a whole number from 1 to 1000000."},
      {"TxtSeed",
       {"0", "4294967295"},
       {"-1", "4294967296"},
       "Seed must be a whole number from 0 to 4294967295."},
  };
  for (const auto& c : cases) {
    for (const char* taken : c.taken) {
      Field(runs, c.field).setText(taken);
      EXPECT_TRUE(StartAndFinish(runs)) << c.field << " " << taken;
      Field(runs, c.field).setText(QString::fromLatin1(c.field) == "TxtRuns" ? "1" : "10");
    }
    for (const char* refused : c.refused) {
      dialogs.messages.clear();
      Field(runs, c.field).setText(refused);
      EXPECT_FALSE(StartAndFinish(runs)) << c.field << " " << refused;
      EXPECT_EQ(dialogs.messages, QStringList({c.message}));
    }
    Field(runs, c.field).setText(QString::fromLatin1(c.field) == "TxtSeed" ? "5" : "1");
  }
  Compare(runs, "starting gene value", "1 2 3 4 5 6 7 8 1 2");
  EXPECT_TRUE(StartAndFinish(runs)) << "ten values";
  dialogs.messages.clear();
  Compare(runs, "starting gene value", "1 2 3 4 5 6 7 8 1 2 3");
  EXPECT_FALSE(StartAndFinish(runs)) << "eleven values";
  EXPECT_EQ(dialogs.messages,
            QStringList({"Values of starting gene value must be 1 to 10 numbers, each a whole "
                         "number from 1 to 8, such as 1, 8."}));
}

// Values that are no finite number in range are refused, whole-number settings are written in
// whole numbers, a decimal comma is refused as such, and -0 is 0.
// Ten values make a caption of several lines: in the narrowest window they allow, the window
// grows for them, and nothing stands over the table or the buttons.
TEST_F(RepeatedRunsTest, ACaptionOfManyValuesInTheNarrowestWindowCoversNothing) {
  QuickRuns();
  RepeatedRunsWindow& runs = Open();
  Field(runs, "TxtRuns").setText("1");
  Compare(runs, "good mutation probability", ".01 .02 .03 .04 .05 .06 .07 .08 .09 .1");
  runs.resize(1, 1);
  ASSERT_TRUE(StartAndFinish(runs));
  runs.resize(1, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  const auto place = [&runs](const char* name) {
    const QWidget& control = *runs.findChild<QWidget*>(name);
    return QRect(control.mapTo(&runs, QPoint(0, 0)), control.size());
  };
  EXPECT_LT(place("LblSettings").bottom(), place("CmdStart").top());
  EXPECT_LT(place("Histogram").bottom(), place("TblFigures").top());
  EXPECT_LT(place("CourseChart").bottom(), place("TblFigures").top());
  EXPECT_LE(place("TblFigures").bottom(), runs.height());
}

TEST_F(RepeatedRunsTest, TakesOnlyFiniteValuesInRangeAndWritesThemAsTheUserWould) {
  QuickRuns();
  RepeatedRunsWindow& runs = Open();
  Field(runs, "TxtRuns").setText("1");
  const QString probabilities =
      "Values of good mutation probability must be 1 to 10 numbers, each a number from 0 to 1, "
      "such as .05, .1, .2.";
  for (const char* values : {"nan", "inf", "-inf", ".1 nan", "1e999", "1.5", "-0.1"}) {
    dialogs.messages.clear();
    Compare(runs, "good mutation probability", values);
    EXPECT_FALSE(StartAndFinish(runs)) << values;
    EXPECT_EQ(dialogs.messages, QStringList({probabilities})) << values;
  }
  dialogs.messages.clear();
  Compare(runs, "good mutation probability", "0,1 0,2");
  EXPECT_FALSE(StartAndFinish(runs));
  EXPECT_EQ(dialogs.messages,
            QStringList({"Write decimals with a point, such as 0.1, not 0,1; put a space, a "
                         "semicolon or a comma and a space between two values."}));
  dialogs.messages.clear();
  Compare(runs, "population size", "5");
  EXPECT_FALSE(StartAndFinish(runs));
  EXPECT_EQ(dialogs.messages,
            QStringList({"Values of population size must be 1 to 10 numbers, each a whole number "
                         "from 10 to 1000000, such as 10, 1000000."}));

  Compare(runs, "mutations per cycle", "1000000; -0");
  ASSERT_TRUE(StartAndFinish(runs));
  EXPECT_EQ(Row(runs, 0)[0], "1000000");
  EXPECT_EQ(Row(runs, 1)[0], "0");
  EXPECT_TRUE(
      runs.findChild<QLabel*>("LblSettings")->text().contains("mutations per cycle 1000000, 0."));
  EXPECT_TRUE(runs.findChild<QWidget*>("Histogram")
                  ->accessibleDescription()
                  .startsWith("mutations per cycle 1000000: 1 run, 1 ended with a perfect genome"));
  QTest::keyClick(&runs, Qt::Key_C, Qt::ControlModifier);
  const QStringList lines = QApplication::clipboard()->text().split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[2].split(',')[4], "0") << "-0 written as 0";
}

// Whatever field of the main window holds what no check has seen (typed and not left, or written
// through a screen reader's editable text), Start takes none of it: it refuses with the field's
// own message, and nothing runs.
TEST_F(RepeatedRunsTest, StartChecksEveryFieldOfTheMainWindowFirst) {
  RepeatedRunsWindow& runs = Open();
  Field(runs, "TxtRuns").setText("1");
  window.activateWindow();
  TypeInto("TxtPopSize", "5");
  EXPECT_FALSE(StartAndFinish(runs));
  EXPECT_EQ(dialogs.messages, QStringList({"values must be greator than 9"}));

  const struct {
    const char* box;
    const char* written;
    QString message;
  } unfocused[] = {{"TxtPopSize", "30000000", "value must be a million or less"},
                   {"TxtGoodFactor", "3e38", "Probabilities are only in range 0 to 1"},
                   {"TxtGoodFactor", "-1", "Probabilities are only in range 0 to 1"},
                   {"TxtStartNum", "9", "values must be in range 1 to 8"}};
  for (const auto& c : unfocused) {
    Button("CmdCreate").setFocus();
    QuickRuns();
    Accessible(&Box(c.box))
        ->editableTextInterface()
        ->replaceText(0, static_cast<int>(Box(c.box).text().size()), c.written);
    ASSERT_EQ(Box(c.box).text(), c.written);
    dialogs.messages.clear();
    EXPECT_FALSE(StartAndFinish(runs)) << c.box << " " << c.written;
    EXPECT_EQ(dialogs.messages, QStringList({c.message})) << c.box << " " << c.written;
  }
}

// Cancel in the middle of a mutation pass of two billion mutations: the window goes on at once
// (waiting for the pass would hold it for many minutes, and the test past its time), and says
// what was cancelled once the runs have stopped.
TEST_F(RepeatedRunsTest, CancelReturnsAtOnceAndSaysWhatWasCancelled) {
  Box("TxtMutateNum").setText("2147483647");
  RepeatedRunsWindow& runs = Open();
  Field(runs, "TxtRuns").setText("2");
  QSignalSpy ended(&runs, &RepeatedRunsWindow::batchEnded);
  runs.findChild<QPushButton*>("CmdStart")->click();
  ASSERT_TRUE(runs.Running());
  runs.findChild<QPushButton*>("CmdCancel")->click();
  EXPECT_EQ(runs.findChild<QLabel*>("LblTimeLeft")->text(), "Cancelling...");
  ASSERT_TRUE(!ended.isEmpty() || ended.wait(60000));
  EXPECT_EQ(runs.findChild<QLabel*>("LblTimeLeft")->text(), "Cancelled: 0 of 2 runs finished.");
  EXPECT_TRUE(runs.findChild<QPushButton*>("CmdStart")->isEnabled());

  // Started again and closed by Escape in the middle of a pass: the window goes within a block.
  QPointer<RepeatedRunsWindow> closing(&runs);
  runs.findChild<QPushButton*>("CmdStart")->click();
  ASSERT_TRUE(runs.Running());
  QTest::keyClick(&runs, Qt::Key_Escape);
  DeleteClosedWindows();
  EXPECT_TRUE(closing.isNull());
}

}  // namespace
}  // namespace evo::test
