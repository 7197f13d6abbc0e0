// The window "Repeated Runs" as a teacher uses it: opened from the main window, its fields
// checked, the main window's settings taken at Start, the runs drawn and written out, and the
// main window's population left alone.
#include "views/repeated_runs_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "common/messages.h"
#include "mainwin/main_window_fixture.h"
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
};

TEST_F(RepeatedRunsTest, OpensOnceByCtrlROrTheMainWindowsMenu) {
  // Shift+F10 on a button opens the main window's menu; its entry opens the window.
  Button("CmdCreate").setFocus();
  EXPECT_EQ(MenuOpenedBy([this] { QTest::keyClick(&window, Qt::Key_F10, Qt::ShiftModifier); },
                         "Repeated Runs..."),
            QStringList({"Repeated Runs..."}));
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
                         values, Sentence(UnreadableSetting{Setting::StartingGeneValue})}));
}

}  // namespace
}  // namespace evo::test
