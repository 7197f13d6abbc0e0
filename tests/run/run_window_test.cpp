// The run commands through the real main window: its buttons, access keys, focus and views.
#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QLabel>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "common/dialogs.h"
#include "run/run_control.h"
#include "support/accessible.h"
#include "support/main_window_fixture.h"
#include "views/frm_summary.h"

namespace evo::test {
namespace {

const QString kCreated = "Population successfully created!";
const char* const kEightCommands[] = {"CmdCreate",  "CmdMutate",     "CmdViewPop",
                                      "CmdViewSum", "CmdRestartAll", "CmdResetCounter",
                                      "CmdRun",     "CmdExit"};

class RunWindowTest : public MainWindowTest {
 protected:
  RunWindowTest() {
    // Every examined critter dies, so that each selection ends quickly.
    random.afterScript = 0.99f;
  }

  void SetUp() override {
    MainWindowTest::SetUp();
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [this] {
      if (during) during();
    });
    tick.start();
  }

  QString Counter() { return Find<QLabel>("LblGencount").text(); }

  bool SummaryOpen() { return !OpenWindows<FrmSummary>().isEmpty(); }

  // Runs at every turn of the event loop, that is inside every yield of a run.
  std::function<void()> during;
  QTimer tick;
};

TEST_F(RunWindowTest, IndefiniteRunSwapsTheButtonsCountsVisiblyAndHaltsOnTheClick) {
  QStringList countsSeen;
  bool checkedRunningState = false;
  during = [&] {
    if (!Button("CmdHaltRun").isVisible()) return;
    if (!checkedRunningState) {
      checkedRunningState = true;
      EXPECT_FALSE(Button("CmdRunIndef").isVisible());
      EXPECT_EQ(Button("CmdHaltRun").text(), "Halt Run");
      EXPECT_EQ(Focused(), "CmdHaltRun");
      for (const char* command : kEightCommands)
        EXPECT_FALSE(Button(command).isEnabled()) << command;
      EXPECT_TRUE(Box("TxtPopSize").isEnabled());
      EXPECT_TRUE(Button("OptSexOn").isEnabled());
    }
    countsSeen << Counter();
    if (Counter() == " 3") Click("CmdHaltRun");
  };
  Click("CmdRunIndef");
  during = nullptr;

  EXPECT_TRUE(checkedRunningState);
  EXPECT_TRUE(countsSeen.contains(" 1") && countsSeen.contains(" 2"));
  EXPECT_EQ(dialogs.messages, QStringList({kCreated, "loop executed  3 times"}));
  EXPECT_EQ(Counter(), " 3");
  // The main window is hidden behind the summary: its buttons are asked whether they are hidden.
  EXPECT_FALSE(Button("CmdRunIndef").isHidden());
  EXPECT_TRUE(Button("CmdHaltRun").isHidden());
  for (const char* command : kEightCommands) EXPECT_TRUE(Button(command).isEnabled()) << command;
  EXPECT_TRUE(SummaryOpen());
  EXPECT_FALSE(window.isVisible());
}

TEST_F(RunWindowTest, TheButtonsComeBackOnlyAfterTheFinalMessage) {
  window.CmdCreate_Click();
  during = [this] { Click("CmdHaltRun"); };
  dialogs.onMessage = [this](const QString& text) {
    if (!text.startsWith("loop executed")) return;
    EXPECT_TRUE(Button("CmdCreate").isEnabled()) << "enabled before the message";
    EXPECT_FALSE(Button("CmdHaltRun").isHidden()) << "swapped back after the message";
    EXPECT_FALSE(SummaryOpen());
  };
  PressAlt('I');
  EXPECT_TRUE(dialogs.messages.contains("loop executed  1 times"));
}

TEST_F(RunWindowTest, TheFocusComingBackToTheHaltButtonStartsNoSecondRun) {
  window.CmdCreate_Click();
  dialogs.messages.clear();
  during = [&] {
    if (!Button("CmdHaltRun").isVisible()) return;
    Box("TxtMutateNum").setFocus(Qt::TabFocusReason);
    Button("CmdHaltRun").setFocus(Qt::TabFocusReason);
    if (Counter() == " 3") Click("CmdHaltRun");
  };
  Click("CmdRunIndef");
  EXPECT_EQ(dialogs.messages, QStringList({"loop executed  3 times"}));
  EXPECT_EQ(window.simulation().state.DblCount, 3);
}

TEST_F(RunWindowTest, FixedRunEndsInTheSummaryAndLeavesEveryButtonAsItWas) {
  Box("TxtGenNum").setText("3");
  int runningTurns = 0;
  during = [&] {
    if (Counter() != "0" && Counter() != " 3") {
      ++runningTurns;
      EXPECT_TRUE(Button("CmdCreate").isEnabled());
      EXPECT_FALSE(Button("CmdHaltRun").isVisible());
    }
  };
  PressAlt('G');
  EXPECT_GT(runningTurns, 0);
  EXPECT_EQ(dialogs.messages, QStringList({kCreated, "generations were run"}));
  EXPECT_EQ(Counter(), " 3");
  EXPECT_TRUE(SummaryOpen());
}

// During a fixed-length run nothing may replace or erase the population under it, nor start a
// second run; a mutation pass, the counter reset and the views work as always.
TEST_F(RunWindowTest, DuringAFixedRunTheDisturbingCommandsAreRefused) {
  window.CmdCreate_Click();
  dialogs.messages.clear();
  Box("TxtGenNum").setText("4");
  std::string populationBefore;
  bool acted = false;
  during = [&] {
    if (acted || Counter() != " 2") return;
    acted = true;
    populationBefore = FileBytes("critter.dat");
    for (const char* command : {"CmdCreate", "CmdRestartAll", "CmdRun", "CmdRunIndef"}) {
      Click(command);
    }
    EXPECT_EQ(FileBytes("critter.dat"), populationBefore);
    const long drawsBefore = random.draws;
    Click("CmdMutate");
    EXPECT_EQ(random.draws - drawsBefore, 4 * 10) << "the design-time 10 mutations";
    Click("CmdResetCounter");
    EXPECT_EQ(Counter(), "0");
    Click("CmdViewSum");
    EXPECT_TRUE(SummaryOpen());
  };
  Click("CmdRun");
  ASSERT_TRUE(acted);
  ASSERT_EQ(dialogs.messages.size(), 5);
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(dialogs.messages[i].startsWith("Generations are running"));
  EXPECT_EQ(dialogs.messages[4], "generations were run");
  EXPECT_EQ(Counter(), " 2") << "two generations after the reset";
  EXPECT_EQ(window.simulation().state.IntCreated, kTrue);
}

TEST_F(RunWindowTest, EraseThenRunCreatesAgainFromACounterOfZero) {
  window.CmdCreate_Click();
  window.SetGenerationCounter(" 9");
  Click("CmdRestartAll");
  EXPECT_FALSE(std::filesystem::exists("critter.dat"));
  EXPECT_EQ(Counter(), "0");
  dialogs.messages.clear();
  Box("TxtGenNum").setText("2");
  Click("CmdRun");
  EXPECT_EQ(dialogs.messages, QStringList({kCreated, "generations were run"}));
  EXPECT_EQ(Counter(), " 2");
}

// Real modal boxes: closing one gives the main window the focus back, and with it the halt
// button, which must not start the run again.
TEST_F(RunWindowTest, ClosingAMessageBoxDuringTheRunStartsNoSecondRun) {
  Box("TxtStartNum").setText("8");
  Box("TxtGoodFactor").setText("1");
  Box("TxtMutateNum").setText("10");
  // The first pass raises each gene of critter 1 in turn: record draws 0, gene draw, good draw.
  for (int gene = 0; gene < 10; ++gene)
    random.script.insert(random.script.end(), {0, 0, (gene + .5f) / 10, 0});
  window.CmdCreate_Click();
  dialogs.messages.clear();
  QStringList focusOnReturn;
  dialogs.onMessage = [&](const QString&) {
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    ModalDialogs().Message("");
    focusOnReturn << Focused();
  };
  Click("CmdRunIndef");
  EXPECT_EQ(dialogs.messages, QStringList({"perfect genome detected", "loop executed  1 times"}));
  EXPECT_EQ(focusOnReturn.first(), "CmdHaltRun")
      << "the box gave the focus back to the halt button";
  EXPECT_EQ(window.simulation().state.DblCount, 1);
  EXPECT_TRUE(SummaryOpen());
}

// A screen reader that listens to the counter hears it at most twice a second during a run, and
// its final figure before the result; the focus goes from the run button to the halt button and
// back, past no other control; and the run never waits for events while it has work. The run is
// halted once the counter has been told three times: none of this depends on how fast the
// machine is.
TEST_F(RunWindowTest, ARunIsHeardAtThePaceOfSpeechFocusesStraightAndNeverIdles) {
  window.CmdCreate_Click();
  dialogs.messages.clear();
  QWidget& counter = Find("LblGencount");
  QStringList voicesHeard;
  int waitsForEvents = 0;
  bool halted = false;
  during = [&] {
    if (!Button("CmdHaltRun").isVisible() || halted) return;
    const QString voice = Spoken(&counter, QAccessible::Name);
    if (voicesHeard.isEmpty() || voicesHeard.last() != voice) voicesHeard << voice;
    if (voicesHeard.size() == 4) {  // the figure before the run, then three tellings
      halted = true;
      Click("CmdHaltRun");
    }
  };
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   &window, [&] {
                     if (Button("CmdHaltRun").isVisible() && !halted) ++waitsForEvents;
                   });
  QString spokenAtTheResult;
  dialogs.onMessage = [&](const QString&) {
    spokenAtTheResult = Spoken(&counter, QAccessible::Name);
  };
  QStringList focusPath;
  QObject::connect(qApp, &QApplication::focusChanged, &window, [&](QWidget*, QWidget* now) {
    if (now != nullptr && now->window() == &window) focusPath << now->objectName();
  });
  const QList<qint64> told = NameChangeTimes(&counter, [this] { Click("CmdRunIndef"); });

  ASSERT_EQ(dialogs.messages.size(), 1);
  EXPECT_TRUE(dialogs.messages[0].startsWith("loop executed"));
  ASSERT_GE(told.size(), 3) << "the first figure, two at the pace, and the final one";
  for (qsizetype i = 1; i + 1 < told.size(); ++i) {
    EXPECT_GE(told[i] - told[i - 1], 500)
        << "telling " << i << " came too soon after the one before";
  }
  EXPECT_EQ(spokenAtTheResult, "Generations this run " + Counter().trimmed());
  EXPECT_EQ(focusPath, QStringList({"CmdRunIndef", "CmdHaltRun", "CmdRunIndef"}));
  EXPECT_EQ(waitsForEvents, 0) << "the run waited for events instead of computing";
}

// A detection in an indefinite run: the final figure is told before the box that reports it.
TEST_F(RunWindowTest, ADetectionIsReportedAfterTheFinalCounterIsTold) {
  Box("TxtStartNum").setText("8");
  Box("TxtGoodFactor").setText("1");
  // The first pass raises each gene of critter 1 in turn: record draws 0, gene draw, good draw.
  for (int gene = 0; gene < 10; ++gene)
    random.script.insert(random.script.end(), {0, 0, (gene + .5f) / 10, 0});
  window.CmdCreate_Click();
  // Changes that come at once are told at the pace: the last is still to be told.
  window.SetGenerationCounter(" 40");
  window.SetGenerationCounter(" 41");
  ASSERT_NE(Spoken(&Find("LblGencount"), QAccessible::Name), "Generations this run 41");
  dialogs.messages.clear();
  QStringList spokenAtEachMessage;
  dialogs.onMessage = [&](const QString&) {
    spokenAtEachMessage << Spoken(&Find("LblGencount"), QAccessible::Name);
  };
  Click("CmdRunIndef");
  EXPECT_EQ(dialogs.messages, QStringList({"perfect genome detected", "loop executed  1 times"}));
  EXPECT_EQ(spokenAtEachMessage,
            QStringList({"Generations this run 41", "Generations this run 41"}));
}

class RunWindowDeathTest : public RunWindowTest {};

TEST_F(RunWindowDeathTest, ClosingTheWindowDuringARunEndsTheProgram) {
  window.CmdCreate_Click();
  const auto closeInsideTheRun = [this](const char* run) {
    during = [this] {
      if (Counter() == " 2") window.close();
    };
    Click(run);
    std::_Exit(3);  // reached only if the run outlived the window
  };
  EXPECT_EXIT(closeInsideTheRun("CmdRunIndef"), ::testing::ExitedWithCode(0), "");
  EXPECT_EXIT(closeInsideTheRun("CmdRun"), ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(std::filesystem::exists("critter.dat"));
}

}  // namespace
}  // namespace evo::test
