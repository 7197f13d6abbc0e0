#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

#include "support/main_window_fixture.h"
#include "views/charts/large_chart.h"
#include "views/frm_show.h"
#include "views/frm_summary.h"
#include "views/views_test_support.h"

namespace evo::test {
namespace {

class ViewsFromMainWindow : public MainWindowTest {
 protected:
  // The view windows of a kind that stand open; closed ones are let go first.
  template <typename View>
  QList<View*> OpenViews() {
    DeleteClosedWindows();
    return OpenWindows<View>();
  }

  template <typename View>
  View& TheOpenView() {
    const QList<View*> views = OpenViews<View>();
    if (views.size() != 1) throw std::runtime_error("not exactly one view open");
    return *views.front();
  }

  static QString Caption(QWidget& view, const char* label) {
    return view.findChild<QLabel*>(label)->text();
  }
  static void Click(QWidget& view, const char* button) {
    QTest::mouseClick(view.findChild<QPushButton*>(button), Qt::LeftButton);
  }

  void CreatePopulation() {
    QTest::mouseClick(&Button("CmdCreate"), Qt::LeftButton);
    ASSERT_EQ(dialogs.messages, QStringList({"Population successfully created!"}));
    dialogs.messages.clear();
  }
};

TEST_F(ViewsFromMainWindow, RefuseToOpenWithoutAPopulation) {
  QTest::mouseClick(&Button("CmdViewPop"), Qt::LeftButton);
  QTest::mouseClick(&Button("CmdViewSum"), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages, QStringList({"No population exists", "No population exists"}));
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(OpenViews<FrmShow>().isEmpty());
  EXPECT_TRUE(OpenViews<FrmSummary>().isEmpty());
}

TEST_F(ViewsFromMainWindow, GeneDisplayHidesTheMainWindowAndReopensOnTheFirstPage) {
  CreatePopulation();
  for (const bool byTitleBar : {false, true}) {
    QTest::mouseClick(&Button("CmdViewPop"), Qt::LeftButton);
    FrmShow& show = TheOpenView<FrmShow>();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Caption(show, "Label1"), "range 1 to  20");
    EXPECT_EQ(show.findChild<QListWidget*>("List1")->item(0)->text(), "7777777777");
    Click(show, "Command4");
    EXPECT_EQ(Caption(show, "Label1"), "range  80 to  100");

    if (byTitleBar) {
      show.windowHandle()->close();
    } else {
      Click(show, "Command5");
    }
    EXPECT_TRUE(window.isVisible()) << byTitleBar;
    EXPECT_TRUE(OpenViews<FrmShow>().isEmpty()) << byTitleBar;
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ViewsFromMainWindow, SummaryHidesTheMainWindowUntilItCloses) {
  CreatePopulation();
  for (const bool byTitleBar : {false, true}) {
    QTest::mouseClick(&Button("CmdViewSum"), Qt::LeftButton);
    FrmSummary& summary = TheOpenView<FrmSummary>();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(Caption(summary, "LblSeven"), " 1000");
    EXPECT_EQ(Caption(summary, "LblAverage"), " 7");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&summary));

    if (byTitleBar) {
      summary.windowHandle()->close();
    } else {
      Click(summary, "CmdDone");
    }
    EXPECT_TRUE(window.isVisible()) << byTitleBar;
    EXPECT_TRUE(OpenViews<FrmSummary>().isEmpty()) << byTitleBar;
  }
}

TEST_F(ViewsFromMainWindow, AnOpenSummaryIsNotCountedAgain) {
  CreatePopulation();
  window.CmdViewSum_Click();
  FrmSummary& first = TheOpenView<FrmSummary>();

  const Genome allBad = {'0', '0', '0', '0', '0', '0', '0', '0', '0', '0'};
  window.simulation().File().WriteRecord(1, allBad);
  window.CmdViewSum_Click();  // as a run's end calls it
  EXPECT_EQ(&TheOpenView<FrmSummary>(), &first);
  EXPECT_EQ(Caption(first, "LblSeven"), " 1000");
  EXPECT_FALSE(window.isVisible());

  Click(first, "CmdDone");
  DeleteClosedWindows();  // the closed summary goes when the event loop next turns
  window.CmdViewSum_Click();
  FrmSummary& second = TheOpenView<FrmSummary>();
  EXPECT_EQ(Caption(second, "LblSeven"), " 990");
  EXPECT_EQ(Caption(second, "LblZero"), " 10");
}

// The course of the average gene begins with the population as it was created: a run of one
// generation from sevens is told as going from 7.
TEST_F(ViewsFromMainWindow, TheCourseBeginsWithThePopulationAsCreated) {
  random.afterScript = 0.99f;  // every mutation bad, every critter examined dies
  CreatePopulation();
  Box("TxtGenNum").setText("1");
  QTest::mouseClick(&Button("CmdRun"), Qt::LeftButton);
  const QString told =
      TheOpenView<FrmSummary>().findChild<QWidget*>("AverageGeneChart")->accessibleDescription();
  EXPECT_TRUE(told.startsWith("1 generation: the average gene went from 7 to"))
      << told.toStdString();
  EXPECT_FALSE(told.endsWith(" to 7")) << "one generation with mutations changes the average";
}

// F1 in every window opens the one guide, which lists the keys; Escape closes it.
TEST_F(ViewsFromMainWindow, F1InEveryWindowOpensTheGuide) {
  const auto guidesOpenedByF1 = [](QWidget& in) {
    in.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&in)) << in.windowTitle().toStdString();
    QTest::keyClick(&in, Qt::Key_F1);
    QList<QWidget*> guides;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->objectName() == "Guide" && widget->isVisible()) guides << widget;
    }
    return guides;
  };
  CreatePopulation();
  QList<QWidget*> guides = guidesOpenedByF1(window);
  ASSERT_EQ(guides.size(), 1);
  QWidget& guide = *guides.front();
  const QString text = guide.findChild<QTextBrowser*>()->toPlainText();
  for (const char* key : {"Ctrl+R", "Ctrl+C", "Shift+F10", "F11"}) {
    EXPECT_TRUE(text.contains(key)) << key;
  }
  EXPECT_FALSE(text.contains("Build and test")) << "the guide is for users";

  QTest::mouseClick(&Button("CmdViewSum"), Qt::LeftButton);
  FrmSummary& summary = TheOpenView<FrmSummary>();
  QTest::keyClick(summary.findChild<QWidget*>("GeneCountChart"), Qt::Key_Return);
  const QList<LargeChartWindow*> shownLarge = OpenWindows<LargeChartWindow>();
  ASSERT_EQ(shownLarge.size(), 1) << "Enter on a chart shows it large";
  LargeChartWindow& large = *shownLarge.front();
  for (QWidget* in : {static_cast<QWidget*>(&summary), static_cast<QWidget*>(&large)}) {
    EXPECT_EQ(guidesOpenedByF1(*in), QList<QWidget*>({&guide})) << in->windowTitle().toStdString();
  }
  ASSERT_TRUE(QTest::qWaitForWindowActive(&guide));
  QTest::keyClick(&guide, Qt::Key_Escape);
  ASSERT_TRUE(large.isVisible()) << "Escape closes the guide alone";
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const QList<QWidget*> reopened = guidesOpenedByF1(large);
  ASSERT_EQ(reopened.size(), 1) << "opens again once closed";
  reopened.front()->close();
}

// Bytes another program wrote among the genes: no view lists or counts them, before or after it
// opens; the user is told, and the population is gone.
TEST_F(ViewsFromMainWindow, NoViewShowsAFileChangedByAnotherProgram) {
  const auto expectToldAndClosed = [this](const char* when) {
    SCOPED_TRACE(when);
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].contains("critter.dat was changed by another program"))
        << dialogs.messages[0].toStdString();
    EXPECT_TRUE(OpenViews<FrmShow>().isEmpty());
    EXPECT_TRUE(OpenViews<FrmSummary>().isEmpty());
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.simulation().state.IntCreated, kFalse);
    dialogs.messages.clear();
  };
  for (const char* button : {"CmdViewSum", "CmdViewPop"}) {
    CreatePopulation();
    OverwriteFileBytes("critter.dat", 995, "-");
    QTest::mouseClick(&Button(button), Qt::LeftButton);
    expectToldAndClosed(button);
  }
  CreatePopulation();
  QTest::mouseClick(&Button("CmdViewPop"), Qt::LeftButton);
  OverwriteFileBytes("critter.dat", 250, std::string(10, '\0'));
  Click(TheOpenView<FrmShow>(), "Command3");
  expectToldAndClosed("paging");
}

}  // namespace
}  // namespace evo::test
