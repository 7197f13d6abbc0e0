// The data and pictures taken out of the summary window: the record of a scripted run as CSV, and
// saving, which writes a whole file or tells why it wrote none.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QStandardPaths>
#include <csignal>

#include "engine/generation_csv.h"
#include "mainwin/main_window_fixture.h"
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
  record.Add(RowEvent::Created, {100, 0.1f, 10, true, true}, {});
  ScriptedDialogs dialogs;
  WindowUnderTest<FrmSummary> window{new FrmSummary(disk.file, 100, {}, record, dialogs)};
  QWidget& counts = *window.child<QWidget>("GeneCountChart");
  const QList<QAction*> menu = counts.actions();
  QStringList captions;
  for (const QAction* action : menu) captions << action->text();
  EXPECT_EQ(captions,
            QStringList({"Copy Data", "Save Data As...", "Copy Image", "Save Image As..."}));
  dialogs.savePaths = {"counts.png", "counts.svg", "data.csv", "no-folder/data.csv", "data.csv"};
  menu[3]->trigger();
  menu[3]->trigger();
  window.child<QWidget>("AverageGeneChart")->actions()[1]->trigger();
  EXPECT_TRUE(dialogs.messages.isEmpty());
  const QImage png("counts.png");
  EXPECT_EQ(png.size(), counts.size() * std::max(2.0, counts.devicePixelRatioF()));
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

  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QRegularExpression named(documents +
                                 R"(/evolution-(gene-counts-)?\d{4}-\d\d-\d\d-\d{4}\.(csv|png)$)");
  for (const QString& path : dialogs.suggestedPaths)
    EXPECT_TRUE(named.match(path).hasMatch()) << path.toStdString();
}

}  // namespace
}  // namespace evo::test
