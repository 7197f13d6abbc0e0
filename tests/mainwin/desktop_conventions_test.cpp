// The main window as a desktop's keyboard and screen-reader users meet it, and where the program
// keeps its data file.
#include <QDir>
#include <QTest>

#include "mainwin/main_window_fixture.h"
#include "mainwin/working_directory.h"
#include "support/accessible.h"

namespace evo::test {
namespace {

TEST_F(MainWindowTest, EnterPressesTheFocusedCommandButtonAndNothingInAField) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    window.SetGenerationCounter("12");
    QWidget& reset = Button("CmdResetCounter");
    reset.setFocus();
    QTest::keyClick(&reset, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    EXPECT_EQ(window.GenerationCounter(), "0") << key;
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());

  QWidget& view = Button("CmdViewSum");
  view.setFocus();
  QTest::keyClick(&view, Qt::Key_Return);
  EXPECT_EQ(dialogs.messages, QStringList{kNoPopulation});

  TypeInto("TxtPopSize", "50");
  QTest::keyClick(&Box("TxtPopSize"), Qt::Key_Return);
  EXPECT_EQ(Focused(), "TxtPopSize");
  EXPECT_EQ(dialogs.messages.size(), 1);
  EXPECT_EQ(window.simulation().state.IntCreated, kFalse);
}

TEST_F(MainWindowTest, SpeaksTheCounterAndEachFieldWithItsCaptionAndHint) {
  EXPECT_EQ(Spoken(&Find("LblGencount"), QAccessible::Name), "Generations this run");
  EXPECT_TRUE(LabelledBy(&Find("LblGencount"), &Find("Label7")));
  const std::pair<const char*, const char*> hints[] = {
      {"TxtPopSize", "Suggest 100 to 1000000"},
      {"TxtGoodFactor", "ranges from 0 to 1, where .01 = 1 out of 100"},
      {"TxtBadFactor", "assigned automatically"},
      {"TxtStartNum", "Valid range is 1 to 8 only"},
  };
  for (const auto& [field, hint] : hints) {
    EXPECT_EQ(Spoken(&Find(field), QAccessible::Description), hint) << field;
  }
}

// Points XDG_DATA_HOME at a place of the test's choosing for the life of the object.
class DataHome {
 public:
  explicit DataHome(const QString& path) : saved_(qgetenv("XDG_DATA_HOME")) {
    qputenv("XDG_DATA_HOME", path.toUtf8());
  }
  ~DataHome() { qputenv("XDG_DATA_HOME", saved_); }

 private:
  QByteArray saved_;
};

TEST(WorkingDirectory, MovesIntoTheDataDirectoryOnlyWhenStartedFromTheMenu) {
  const TempDirectory directory;
  const QString start = QDir::currentPath();
  const DataHome home(start + "/data home");

  EXPECT_EQ(EnterWorkingDirectory({"evolution-simulation"}), "");
  EXPECT_EQ(QDir::currentPath(), start);
  EXPECT_FALSE(QDir(start + "/data home").exists());

  EXPECT_EQ(EnterWorkingDirectory({"evolution-simulation", kInDataDirectoryOption}), "");
  EXPECT_EQ(QDir::currentPath(), start + "/data home/evolution-simulation");
}

TEST(WorkingDirectory, StaysAndSaysWhyWhenTheDataDirectoryCannotBeMade) {
  const TempDirectory directory;
  const QString start = QDir::currentPath();
  WriteFileBytes("not a folder", "x");
  const DataHome home(start + "/not a folder");
  const QString failure = EnterWorkingDirectory({"evolution-simulation", kInDataDirectoryOption});
  EXPECT_TRUE(failure.contains(start + "/not a folder/evolution-simulation"))
      << failure.toStdString();
  EXPECT_EQ(QDir::currentPath(), start);
}

}  // namespace
}  // namespace evo::test
