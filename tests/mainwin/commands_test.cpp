#include <gmock/gmock.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include <QPushButton>
#include <QTimer>
#include <cstring>
#include <filesystem>

#include "common/messages.h"
#include "support/main_window_fixture.h"
#include "views/frm_show.h"
#include "views/frm_summary.h"

namespace evo::test {
namespace {

const QString kNoPopulation = "No population exists";

const QString kCreated = "Population successfully created!";

class CommandTest : public MainWindowTest {
 protected:
  void Create() {
    dialogs.messages.clear();
    Click("CmdCreate");
    ASSERT_EQ(dialogs.messages, QStringList{kCreated});
    dialogs.messages.clear();
  }
};

TEST_F(CommandTest, CreatePopulationWritesTheFileBeforeItSaysSo) {
  window.SetGenerationCounter(" 12");
  std::size_t bytesWhenTold = 0;
  dialogs.onMessage = [&](const QString&) { bytesWhenTold = FileBytes("critter.dat").size(); };
  Create();
  EXPECT_EQ(bytesWhenTold, 1000u);
  EXPECT_EQ(FileBytes("critter.dat"), std::string(1000, '7'));
  EXPECT_EQ(Find<QLabel>("LblGencount").text(), "0");
  EXPECT_EQ(window.simulation().state.IntCreated, kTrue);
  EXPECT_EQ(window.simulation().state.LngCritter, 100);

  // Again over it, from boxes left for the button: each is validated before creation reads it.
  TypeInto("TxtPopSize", "12.9");
  TypeInto("TxtStartNum", "3");
  Create();
  EXPECT_EQ(FileBytes("critter.dat"), std::string(120, '3') + std::string(880, '7'));
}

TEST_F(CommandTest, ARefusedOrFailedCreationSaysWhyAndCreatesNothing) {
  Box("TxtStartNum").setText("  ");
  window.CmdCreate_Click();
  EXPECT_EQ(dialogs.messages, QStringList{Sentence(UnreadableSetting{Setting::StartingGeneValue})});
  EXPECT_FALSE(std::filesystem::exists("critter.dat"));

  Box("TxtStartNum").setText("7");
  std::filesystem::create_directory("critter.dat");
  dialogs.messages.clear();
  Click("CmdCreate");
  ASSERT_EQ(dialogs.messages.size(), 1);
  EXPECT_THAT(dialogs.messages[0].toStdString(), ::testing::HasSubstr("critter.dat"));
  EXPECT_EQ(window.simulation().state.IntCreated, kFalse);
}

TEST_F(CommandTest, InsertMutationsNeedsAPopulationAndMutatesTheFile) {
  window.simulation().state.IntHalt = kPerfectGenome;
  TypeInto("TxtMutateNum", "1");
  Click("CmdMutate");
  EXPECT_EQ(dialogs.messages, QStringList{kNoPopulation});
  EXPECT_EQ(window.simulation().state.IntHalt, kNoHalt);
  EXPECT_EQ(window.simulation().state.LngMutateNum, 1);
  EXPECT_FALSE(std::filesystem::exists("critter.dat"));
  PopulationFile otherCopy;
  otherCopy.Open("critter.dat");
  dialogs.messages.clear();
  Click("CmdMutate");
  EXPECT_EQ(dialogs.messages, QStringList{kNoPopulation}) << "while another copy holds the file";
  otherCopy.Close();

  TypeInto("TxtPopSize", "10");
  TypeInto("TxtGoodFactor", "1");
  Create();
  // Record 4 (fine draw .35 of 10 critters), gene 3 (.25), a good mutation (0 <= 1).
  random.script = {0.0f, 0.35f, 0.25f, 0.0f};
  Click("CmdMutate");
  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_EQ(FileBytes("critter.dat"), std::string(30, '7') + "7787777777" + std::string(60, '7'));
}

TEST_F(CommandTest, EachViewNeedsAPopulationAndAFittingSize) {
  Click("CmdViewSum");
  Click("CmdViewPop");
  EXPECT_EQ(dialogs.messages, (QStringList{kNoPopulation, kNoPopulation}));
  Create();
  Box("TxtPopSize").setText("1e12");
  window.CmdViewSum_Click();
  window.CmdViewPop_Click();
  ASSERT_EQ(dialogs.messages.size(), 2);
  EXPECT_EQ(dialogs.messages[0],
            "Population size must round to a whole number from -2147483648 to 2147483647.");
  EXPECT_EQ(dialogs.messages[1], dialogs.messages[0]);
  EXPECT_TRUE(OpenWindows<FrmSummary>().isEmpty());
  EXPECT_TRUE(OpenWindows<FrmShow>().isEmpty());
  EXPECT_TRUE(window.isVisible());
}

TEST_F(CommandTest, AViewHidesTheMainWindowUntilItClosesAndOpensOnlyOnce) {
  Create();
  for (const char* button : {"CmdViewSum", "CmdViewPop"}) {
    SCOPED_TRACE(button);
    const auto open = [&] {
      QList<QWidget*> views;
      for (QWidget* view : OpenWindows<FrmSummary>()) views << view;
      for (QWidget* view : OpenWindows<FrmShow>()) views << view;
      return views;
    };
    // As a run's end does: the handler called directly.
    const auto openAgain = [&] {
      button == std::string("CmdViewSum") ? window.CmdViewSum_Click() : window.CmdViewPop_Click();
    };
    Click(button);
    EXPECT_FALSE(window.isVisible());
    openAgain();
    const QList<QWidget*> first = open();
    ASSERT_EQ(first.size(), 1);
    // Closed inside a yield, the view is deleted only later; it is closed all the same.
    first[0]->close();
    EXPECT_TRUE(window.isVisible());
    openAgain();
    EXPECT_FALSE(window.isVisible());
    const QList<QWidget*> second = open();
    ASSERT_EQ(second.size(), 1);
    EXPECT_NE(second[0], first[0]);
    second[0]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isVisible());
  }
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(CommandTest, ARunSwapsTheHaltButtonInAndDisablesTheEightCommands) {
  window.ShowHaltButton(true);
  window.SetCommandsEnabled(false);
  window.FocusHaltButton();
  EXPECT_EQ(Focused(), "CmdHaltRun");
  EXPECT_EQ(Button("CmdHaltRun").text(), "Halt Run");
  QStringList enabled;
  for (auto* button : window.findChildren<QPushButton*>()) {
    if (button->isVisible() && button->isEnabled()) enabled << button->objectName();
  }
  EXPECT_EQ(enabled, QStringList{"CmdHaltRun"});

  window.SetCommandsEnabled(true);
  window.ShowHaltButton(false);
  for (auto* button : window.findChildren<QPushButton*>()) {
    EXPECT_EQ(button->isVisible(), button->objectName() != "CmdHaltRun");
    EXPECT_TRUE(button->isEnabled());
  }
}

class CommandDeathTest : public CommandTest {
 protected:
  // Ends the program from inside a generation's yield: the generations after it never run.
  void EndInsideAYield(const std::function<void()>& end) {
    random.afterScript = 0.99f;  // every examined critter dies, so selection ends
    QTimer::singleShot(0, end);
    for (int i = 0; i < 3; ++i) window.simulation().NextGeneration(window.CurrentOptions());
    std::_Exit(3);
  }
};

TEST_F(CommandDeathTest, ExitDeletesTheFileAndEndsTheProgramEvenInsideARun) {
  EXPECT_EXIT(PressAlt('X'), ::testing::ExitedWithCode(0), "");
  Create();
  EXPECT_EXIT(EndInsideAYield([this] { Click("CmdExit"); }), ::testing::ExitedWithCode(0), "");
  EXPECT_FALSE(std::filesystem::exists("critter.dat"));
}

// A named pipe, a socket or a folder named critter.dat: no command waits on it, each says what is
// in the way or that no population exists, and Exit ends the program at once and leaves it.
TEST_F(CommandDeathTest, EveryCommandAndExitPassOverASpecialFileNamedCritterDat) {
  const std::pair<const char*, std::function<void()>> specials[] = {
      {"a named pipe", [] { ASSERT_EQ(mkfifo("critter.dat", 0644), 0); }},
      {"a socket",
       [] {
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         std::strcpy(address.sun_path, "critter.dat");
         const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
         ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
       }},
      {"a directory", [] { std::filesystem::create_directory("critter.dat"); }},
  };
  for (const auto& [kind, make] : specials) {
    SCOPED_TRACE(kind);
    make();
    dialogs.messages.clear();
    for (const char* command : {"CmdCreate", "CmdRun", "CmdRunIndef", "CmdMutate", "CmdViewPop",
                                "CmdViewSum", "CmdRestartAll"}) {
      Click(command);
    }
    const QString refused = QString("Cannot use critter.dat: it is %1").arg(kind);
    ASSERT_EQ(dialogs.messages.size(), 7) << dialogs.messages.join('|').toStdString();
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(dialogs.messages[i].startsWith(refused)) << i;
    for (int i = 3; i < 7; ++i) EXPECT_EQ(dialogs.messages[i], "No population exists") << i;
    EXPECT_EXIT(Click("CmdExit"), ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::symlink_status("critter.dat")));
    std::filesystem::remove("critter.dat");
  }
}

TEST_F(CommandDeathTest, ClosingTheWindowEndsTheProgramAndKeepsTheFile) {
  Create();
  EXPECT_EXIT(EndInsideAYield([this] { window.close(); }), ::testing::ExitedWithCode(0), "");
  EXPECT_TRUE(std::filesystem::exists("critter.dat"));
}

}  // namespace
}  // namespace evo::test
