// The data and pictures taken out of the summary window: the record of a scripted run as CSV, and
// saving, which writes a whole file or tells why it wrote none.
#include "views/charts/chart_menu.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <csignal>

#include "common/window_look.h"
#include "engine/record/generation_csv.h"
#include "support/main_window_fixture.h"
#include "support/scoped_variable.h"
#include "support/workbook_reader.h"
#include "views/charts/chart.h"
#include "views/charts/chart_focus_frame.h"
#include "views/charts/chart_paper.h"
#include "views/charts/chart_saving.h"
#include "views/charts/large_chart.h"
#include "views/charts/runs_histogram.h"
#include "views/frm_summary.h"
#include "views/views_test_support.h"

namespace evo::test {
namespace {

class ChartData : public MainWindowTest {};

// Three generations at the window's design-time settings.
TEST_F(ChartData, CopiesTheRecordOfARunAsCsvEndingWithTheWindowsFigures) {
  random.afterScript = 0.99f;  // every examined critter dies, so selection ends
  TypeInto("TxtGenNum", "3");
  Click("CmdRun");
  const QList<FrmSummary*> summaries = OpenWindows<FrmSummary>();
  ASSERT_EQ(summaries.size(), 1);
  FrmSummary& summary = *summaries.front();
  summary.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&summary));
  QTest::keyClick(&summary, Qt::Key_C, Qt::ControlModifier);
  const QString csv = QApplication::clipboard()->text();

  QStringList lines = csv.split("\r\n");
  ASSERT_EQ(lines.size(), 6) << csv.toStdString();
  EXPECT_EQ(lines.takeLast(), "");
  EXPECT_EQ(lines[0],
            "generation,event,population size,good mutation probability,mutations per cycle,"
            "sexual exchange,auto mutation,starting gene value,stop reason,zeroes,ones,twos,threes,"
            "fours,fives,sixes,sevens,eights,nines,average gene,kept every nth generation");
  EXPECT_EQ(lines[1], "0,created,100,0.1,10,ON,ON,7,,0,0,0,0,0,0,0,1000,0,0,7,1");
  EXPECT_TRUE(lines[4].startsWith("3,generation,100,0.1,10,ON,ON,7,,")) << lines[4].toStdString();
  QStringList shown;
  for (const char* label : {"LblZero", "LblOne", "LblTwo", "LblThree", "LblFour", "LblFive",
                            "LblSix", "LblSeven", "LblEight", "LblNine", "LblAverage"}) {
    shown << summary.findChild<QLabel*>(label)->text().trimmed();
  }
  EXPECT_EQ(lines[4].split(',').mid(9, 11), shown);
  EXPECT_TRUE(shown.last().contains('.')) << "an unchanged population proves little";
}

QString Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The menu of a summary of a fresh population, with a record of one row.
TEST(ChartFiles, SavesWholeFilesOrTellsWhyAndLeavesNone) {
  PopulationOnDisk disk{std::string(1000, '7')};
  GenerationRecord record;
  record.Add(RowEvent::Created, {100, 0.1f, 10, 0, 7, {true, true}}, {});
  ScriptedDialogs dialogs;
  WindowUnderTest<FrmSummary> window{new FrmSummary(disk.file, 100, {}, record, dialogs)};
  QWidget& counts = *window.child<QWidget>("GeneCountChart");
  const QList<QAction*> menu = counts.actions();
  QStringList captions;
  for (const QAction* action : menu) captions << action->text();
  EXPECT_EQ(captions, QStringList({"Copy Data", "Save Data As...", "Copy Image", "Save Image As...",
                                   "Print...", "Show Large"}));
  dialogs.savePaths = {"counts.png", "counts.svg", "data.csv", "no-folder/data.csv", "data.csv"};
  menu[3]->trigger();
  menu[3]->trigger();
  window.child<QWidget>("AverageGeneChart")->actions()[1]->trigger();
  EXPECT_TRUE(dialogs.messages.isEmpty());
  const QImage png("counts.png");
  EXPECT_EQ(png.size(), kPaperPictureSize * std::max(2.0, counts.devicePixelRatioF()));
  EXPECT_TRUE(Read("counts.svg").contains("<svg"));
  EXPECT_EQ(Read("data.csv").toStdString(), GenerationCsv(record));

  menu[1]->trigger();
  // A disk that takes no more than 20 bytes, for a file that was there before.
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  const rlimit full{20, limit.rlim_max};
  setrlimit(RLIMIT_FSIZE, &full);
  menu[1]->trigger();
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, oldHandler);
  ASSERT_EQ(dialogs.messages.size(), 2);
  EXPECT_TRUE(dialogs.messages[0].startsWith("Could not save no-folder/data.csv: "));
  EXPECT_EQ(dialogs.messages[1], "Could not save data.csv: File too large");
  EXPECT_EQ(QDir().entryList(QDir::Files | QDir::Hidden),
            QStringList({"counts.png", "counts.svg", "critter.dat", "data.csv"}));
  EXPECT_EQ(Read("data.csv").toStdString(), GenerationCsv(record));

  const QRegularExpression named(
      R"(/evolution-(gene-counts|average-gene)(-data)?-\d{4}-\d\d-\d\d-\d{4}\.(csv|png)$)");
  for (const QString& path : dialogs.suggestedPaths)
    EXPECT_TRUE(named.match(path).hasMatch()) << path.toStdString();
  EXPECT_TRUE(dialogs.suggestedPaths[1].startsWith(QDir::currentPath() + "/evolution-gene-counts-"))
      << "the folder saved into last";
}

// Where a save and a print to a file start: the folder saved into last, while it stands; else the
// documents folder when there is one; else the home folder. Never the folder the program started
// in, which a start from the menu makes its data folder.
TEST(ChartFiles, StartWhereTheUserSavedLastElseInTheDocumentsElseAtHome) {
  const TempDirectory directory;
  const QString home = directory.Path().c_str();
  const ScopedVariable homeVariable("HOME", home.toUtf8());
  const ScopedVariable configVariable("XDG_CONFIG_HOME", (home + "/config").toUtf8());
  QDir(home).mkpath("data");
  QDir::setCurrent(home + "/data");
  QDir(home).mkpath("lesson");
  RememberSaveFolder(home + "/lesson/runs.csv");
  EXPECT_EQ(SaveFolder(), home + "/lesson");
  QDir(home).rmdir("lesson");
  EXPECT_EQ(SaveFolder(), home) << "no documents folder";
  QDir(home).mkpath("Documents");
  EXPECT_EQ(SaveFolder(), home + "/Documents");
  EXPECT_TRUE(
      SuggestedPath("gene-counts", "pdf").startsWith(home + "/Documents/evolution-gene-counts-"));

  PopulationOnDisk disk{std::string(1000, '7')};
  GenerationRecord record;
  record.Add(RowEvent::Created, {100, 0.1f, 10, 0, 7, {true, true}}, {});
  ScriptedDialogs dialogs;
  WindowUnderTest<FrmSummary> window{new FrmSummary(disk.file, 100, {}, record, dialogs)};
  window.child<QWidget>("GeneCountChart")->actions()[4]->trigger();  // the print, cancelled
  ASSERT_EQ(dialogs.printSuggestions.size(), 1);
  EXPECT_TRUE(dialogs.printSuggestions[0].startsWith(home + "/Documents/evolution-gene-counts-"))
      << dialogs.printSuggestions[0].toStdString();
  EXPECT_TRUE(dialogs.printSuggestions[0].endsWith(".pdf"));
}

// A teacher's picture of a run under a dark desktop: dark on white with its settings, on the
// clipboard as an image, and printed.
TEST(ChartFiles, PicturesForPaperAreDarkOnWhiteWithTheirSettingsUnderADarkPalette) {
  const QPalette light = QApplication::palette();
  QPalette dark = light;
  dark.setColor(QPalette::Window, QColor::fromRgb(0x222020));
  dark.setColor(QPalette::WindowText, Qt::white);
  QApplication::setPalette(dark);
  PopulationOnDisk disk{std::string(1000, '7')};
  GenerationRecord record;
  AverageGeneHistory history;
  record.Add(RowEvent::Created, {100, 0.25f, 30, 0, 7, {false, true}}, {});
  for (int generation = 1; generation <= 200; ++generation) {
    record.Add(RowEvent::Generation, {100, 0.25f, 30, 0, 7, {false, true}}, {});
    history.AddAfterGeneration(7 + generation * 0.13 / 200);
  }
  ScriptedDialogs dialogs;
  WindowUnderTest<FrmSummary> window{new FrmSummary(disk.file, 100, history, record, dialogs)};
  auto& course = *window.child<Chart>("AverageGeneChart");
  EXPECT_EQ(SettingsCaption(record),
            QStringList({"Population size 100, starting gene value 7, generations 0 to 200",
                         "Good mutation probability 0.25 (bad 0.75), 30 mutations per cycle",
                         "Sexual exchange OFF, auto mutation ON"}));

  course.actions()[2]->trigger();
  const QImage image = QApplication::clipboard()->image();
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
  int dark_pixels = 0;
  int marks = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      dark_pixels += pixel.lightness() < 60 ? 1 : 0;
      marks += ContrastRatio(pixel, Qt::white) >= 3 && pixel.blue() - pixel.red() > 60 ? 1 : 0;
    }
  }
  EXPECT_GT(dark_pixels, 1000) << "the title, the axes, their labels and the caption";
  EXPECT_GT(marks, 200) << "the course";

  dialogs.printFiles = {"course.pdf"};
  course.actions()[4]->trigger();
  course.actions()[4]->trigger();  // cancelled
  QFile pdf("course.pdf");
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_TRUE(pdf.readAll().startsWith("%PDF-"));
  EXPECT_EQ(QDir().entryList({"*.pdf"}, QDir::Files), QStringList({"course.pdf"}));
  EXPECT_EQ(dialogs.messages, QStringList()) << "a cancelled print says nothing";
  QApplication::setPalette(light);
}

// The menu of each chart from the keyboard: Tab reaches the chart, the Menu key and Shift+F10 open
// its menu; Copy Data leaves CSV and Copy Image a picture, not text, on the clipboard.
TEST(ChartMenus, OpenFromTheKeyboardOnEachChartAndCopyWhatTheySay) {
  PopulationOnDisk disk{std::string(1000, '7')};
  GenerationRecord record;
  record.Add(RowEvent::Created, {100, 0.1f, 10, 0, 7, {true, true}}, {});
  AverageGeneHistory history;
  history.AddAfterGeneration(7.1);
  ScriptedDialogs dialogs;
  WindowUnderTest<FrmSummary> window{new FrmSummary(disk.file, 100, history, record, dialogs)};
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const QStringList entries = {"Copy Data",        "Save Data As...", "Copy Image",
                               "Save Image As...", "Print...",        "Show Large"};
  QTest::keyClick(window.get(), Qt::Key_Tab);  // past the average
  for (const char* name : {"GeneCountChart", "AverageGeneChart"}) {
    SCOPED_TRACE(name);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget& chart = *window.child<QWidget>(name);
    ASSERT_EQ(QApplication::focusWidget(), &chart);
    // The Menu key comes to the chart as a context menu event from the keyboard.
    EXPECT_EQ(MenuOpenedBy([&chart] {
                const QPoint centre = chart.rect().center();
                QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, centre,
                                          chart.mapToGlobal(centre));
                QApplication::sendEvent(&chart, &menuKey);
              }),
              entries);
    EXPECT_EQ(MenuOpenedBy([&window] {
                QTest::keyClick(window->windowHandle(), Qt::Key_F10, Qt::ShiftModifier);
              }),
              entries);

    chart.actions()[0]->trigger();
    const QMimeData& data = *QApplication::clipboard()->mimeData();
    EXPECT_TRUE(data.text().startsWith("generation,event,"));
    EXPECT_EQ(data.data("text/csv"), data.text().toUtf8());
    chart.actions()[2]->trigger();
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasImage());
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasText()) << "a picture, not text";
  }
}

// A spreadsheet in any language reads the workbook's figures as the numbers they are: the same
// columns as the CSV, the columns' names frozen, and the settings with the program's version.
TEST(ChartFiles, SavesAWorkbookWhoseFiguresReadBackAsTheSameNumbers) {
  PopulationOnDisk disk{std::string(1000, '7')};
  GenerationRecord record;
  GeneSummary figures;
  figures.counts[6] = 2;
  figures.counts[7] = 998;
  figures.average = 6.998;
  record.Add(RowEvent::Created, {100, 0.1f, 10, 0, 7, {true, false}}, figures);
  record.Add(RowEvent::Generation, {100, 0.1f, 10, 0, 7, {true, false}}, figures);
  ScriptedDialogs dialogs;
  WindowUnderTest<FrmSummary> window{new FrmSummary(disk.file, 100, {}, record, dialogs)};
  dialogs.savePaths = {"figures.xlsx"};
  window.child<QWidget>("GeneCountChart")->actions()[1]->trigger();
  ASSERT_TRUE(dialogs.messages.isEmpty()) << dialogs.messages.join(' ').toStdString();
  QFile file("figures.xlsx");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray book = file.readAll();

  const Sheet data = ReadSheet(book, 1);
  EXPECT_TRUE(data.firstRowFrozen);
  EXPECT_EQ(data.cells.value("A1"), Cell(QString("generation")));
  EXPECT_EQ(data.cells.value("D1"), Cell(QString("good mutation probability")));
  EXPECT_EQ(data.cells.value("A3"), Cell(1.0));
  EXPECT_EQ(data.cells.value("B3"), Cell(QString("generation")));
  EXPECT_EQ(data.cells.value("D3"), Cell(0.1)) << "a probability is a number";
  EXPECT_EQ(data.cells.value("F3"), Cell(QString("ON")));
  EXPECT_EQ(data.cells.value("G3"), Cell(QString("OFF")));
  EXPECT_EQ(data.cells.value("Q3"), Cell(998.0));
  EXPECT_EQ(data.cells.value("T3"), Cell(6.998)) << "the average is a number, not 6998";
  EXPECT_FALSE(data.cells.contains("A4"));

  const Sheet settings = ReadSheet(book, 2);
  EXPECT_EQ(settings.cells.value("A1"), Cell(QString("population size")));
  EXPECT_EQ(settings.cells.value("B1"), Cell(100.0));
  EXPECT_EQ(settings.cells.value("B2"), Cell(0.1));
  const auto version =
      std::find(settings.cells.begin(), settings.cells.end(), Cell(QString("program version")));
  EXPECT_NE(version, settings.cells.end());
}

// Shown large, a chart opens in a window of its own that follows its figures, full screen by F11
// and back, closed by Escape; one window however it is asked for.
TEST(LargeCharts, OpenFromTheChartFollowItsFiguresAndCloseOnEscape) {
  QWidget window;
  auto* histogram = new RunsHistogram(&window);
  ScriptedDialogs dialogs;
  auto* menu = new ChartMenu(
      *histogram, {"runs", [] { return QByteArray(); }, [] { return QStringList(); }, {}}, dialogs);
  (void)menu;
  window.show();
  histogram->setFocus();
  const auto large = [] {
    QList<LargeChartWindow*> open;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* shown = qobject_cast<LargeChartWindow*>(widget); shown && shown->isVisible()) {
        open << shown;
      }
    }
    return open;
  };
  QTest::keyClick(histogram, Qt::Key_Return);
  ASSERT_EQ(large().size(), 1);
  LargeChartWindow& shown = *large().front();
  EXPECT_EQ(shown.windowTitle(), "Generations to the end of each run");
  EXPECT_EQ(shown.Shown().accessibleDescription(), "No run yet");
  const QImage before = shown.Shown().grab().toImage();
  // grab() would draw anew whether or not the chart asked to be repainted.
  const QSignalSpy repainted(&shown.Shown(), &Chart::changed);

  RunGroup group;
  group.runs = {{5, RunEnd::PerfectGenome, 9, {}}, {7, RunEnd::AllBadGenome, 0, {}}};
  group.tally = Tally(group.runs);
  histogram->SetGroups({group}, {""}, {""});
  histogram->Describe();
  EXPECT_TRUE(
      shown.Shown().accessibleDescription().startsWith("2 runs, 1 ended with a perfect genome"));
  EXPECT_GE(repainted.count(), 1) << "asked to be drawn anew";
  EXPECT_NE(shown.Shown().grab().toImage(), before) << "with the figures";

  QTest::mouseDClick(histogram, Qt::LeftButton);
  histogram->actions().last()->trigger();
  EXPECT_EQ(histogram->actions().last()->text(), "Show Large");
  EXPECT_EQ(large().size(), 1) << "one large window at a time";
  ASSERT_TRUE(QTest::qWaitForWindowActive(&shown));
  const QSize normalSize = shown.Shown().size();
  QTest::keyClick(&shown, Qt::Key_F11);
  EXPECT_TRUE(shown.isFullScreen());
  ASSERT_TRUE(QTest::qWaitFor([&] { return shown.Shown().size() != normalSize; }));
  const auto* frame = shown.Shown().findChild<ChartFocusFrame*>();
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(frame->geometry(), shown.Shown().rect()) << "the focus frame grows with the chart";
  QTest::keyClick(&shown, Qt::Key_F11);
  EXPECT_FALSE(shown.isFullScreen());
  QTest::keyClick(&shown, Qt::Key_Escape);
  EXPECT_TRUE(large().isEmpty());
}

}  // namespace
}  // namespace evo::test
