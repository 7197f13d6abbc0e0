#include "run/run_control.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QStringList>
#include <filesystem>
#include <functional>

#include "common/messages.h"
#include "engine/numeric.h"
#include "support/fake_window.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace evo::test {
namespace {

// The main window's side of a run, recorded in one log together with the messages, so that a
// test sees the order of everything the user sees.
class FakeRunWindow : public RunWindow {
 public:
  FakeRunWindow(Simulation& simulation, const FakeWindow& window, ScriptedDialogs& dialogs,
                QStringList& log)
      : simulation_(simulation), window_(window), dialogs_(dialogs), log_(log) {}

  // What the focus move to the halt button does; nothing models a window that is not active.
  std::function<void()> onFocusHaltButton;

  void CmdCreate_Click() override {
    log_ << "create";
    try {
      simulation_.CreatePopulation(window_.texts, window_.options);
      dialogs_.Message("Population successfully created!");
    } catch (const EngineError& refusal) {
      dialogs_.Message(refusal.what());
    }
  }
  void CmdViewSum_Click() override { log_ << "summary"; }
  SettingTexts Texts() const override { return window_.texts; }
  Options CurrentOptions() const override { return window_.options; }
  void SetCommandsEnabled(bool enabled) override { log_ << (enabled ? "enable" : "disable"); }
  void ShowHaltButton(bool shown) override { log_ << (shown ? "show halt" : "hide halt"); }
  void BeginTellingCounter() override {}
  void AnnounceCounter() override {}
  bool FieldsAccepted() override { return true; }
  void FocusHaltButton() override {
    log_ << "focus halt";
    if (onFocusHaltButton) onFocusHaltButton();
  }

 private:
  Simulation& simulation_;
  const FakeWindow& window_;
  ScriptedDialogs& dialogs_;
  QStringList& log_;
};

class RunControlTest : public ::testing::Test {
 protected:
  RunControlTest() {
    simulation.Initialise();
    dialogs.onMessage = [this](const QString& text) { log << text; };
    runWindow.onFocusHaltButton = [this] { control.cmdhaltrun_gotfocus(); };
  }

  void SetBox(std::string SettingTexts::*box, const std::string& text) { window.texts.*box = text; }

  // Creates the population of the boxes and forgets what that logged.
  void Create() {
    runWindow.CmdCreate_Click();
    log.clear();
    dialogs.messages.clear();
  }

  std::string Population() const { return FileBytes(temp.Path() / "critter.dat"); }

  TempDirectory temp;
  FakeWindow window;
  TwisterRandomSource random{12345};
  Simulation simulation{window, random};
  ScriptedDialogs dialogs;
  QStringList log;
  FakeRunWindow runWindow{simulation, window, dialogs, log};
  RunControl control{simulation, window, runWindow, dialogs};
};

// A population of ten 8888888888 critters under a thousand good mutations: a perfect genome
// appears in the first mutation pass.
void PreparePerfectGenome(FakeWindow& window) {
  window.texts.populationSize = "10";
  window.texts.startingGeneValue = "8";
  window.texts.goodMutationProbability = "1";
  window.texts.mutationsPerCycle = "1000";
}

TEST_F(RunControlTest, FixedRunCreatesWhenNeededRunsTheCountAndEndsInTheSummary) {
  SetBox(&SettingTexts::generations, "3");
  control.CmdRun_Click();
  EXPECT_EQ(log, QStringList({"create", "Population successfully created!", "generations were run",
                              "summary"}));
  EXPECT_EQ(window.counter, " 3");
  EXPECT_EQ(window.yields, 3);
  EXPECT_EQ(simulation.state.IntHalt, kNoHalt);
  EXPECT_FALSE(control.RunInProgress());

  log.clear();
  SetBox(&SettingTexts::generations, "2");
  control.CmdRun_Click();
  EXPECT_EQ(log, QStringList({"generations were run", "summary"}));
  EXPECT_EQ(window.counter, " 5") << "the counter accumulates across runs";
}

TEST_F(RunControlTest, GenerationCountRoundsToEvenAndRefusesWhatSixteenBitsCannotHold) {
  Create();
  const std::pair<const char*, int> cases[] = {{"2.5", 2}, {"3.5", 4}, {"-4", 0},      {"", 0},
                                               {"abc", 0}, {"0.5", 0}, {"-32768.5", 0}};
  for (const auto& [text, generations] : cases) {
    window.counter = "0";
    window.yields = 0;
    log.clear();
    SetBox(&SettingTexts::generations, text);
    control.CmdRun_Click();
    EXPECT_EQ(window.yields, generations) << text;
    EXPECT_EQ(log, QStringList({"generations were run", "summary"})) << text;
  }

  for (const char* tooMany : {"32767.5", "-32769", "1e9"}) {
    log.clear();
    const std::string before = Population();
    SetBox(&SettingTexts::generations, tooMany);
    control.CmdRun_Click();
    EXPECT_EQ(log, QStringList({"Number of Generations to run must round to a whole number from "
                                "-32768 to 32767."}))
        << tooMany;
    EXPECT_EQ(Population(), before) << tooMany;
  }
}

TEST_F(RunControlTest, TheLargestGenerationCountRunsToItsEnd) {
  SetBox(&SettingTexts::populationSize, "10");
  window.options.autoMutation = false;
  Create();
  SetBox(&SettingTexts::generations, "32767");
  control.CmdRun_Click();
  EXPECT_EQ(window.counter, " 32767");
  EXPECT_EQ(log, QStringList({"generations were run", "summary"}));
}

// Every pass after the detection changes the population: the record follows it to the run's end,
// where the summary counts, and says there why the run stopped.
TEST_F(RunControlTest, FixedRunGoesOnAfterADetectionWithMutationPassesOnlyAndRecordsEach) {
  PreparePerfectGenome(window);
  SetBox(&SettingTexts::populationSize, "100");
  SetBox(&SettingTexts::mutationsPerCycle, "300");
  Create();
  SetBox(&SettingTexts::generations, "6");
  control.CmdRun_Click();
  EXPECT_EQ(log, QStringList({"generations were run", "perfect genome detected", "summary"}));
  EXPECT_EQ(simulation.state.IntHalt, kNoHalt);

  // Each of the six calls left one row: a generation until the detection, a pass after it.
  const auto detectedAfter = static_cast<std::int64_t>(NumericValue(window.counter));
  ASSERT_LT(detectedAfter, 5) << "the seed must detect early enough to leave passes after it";
  const std::vector<GenerationRow>& rows = simulation.Record().Rows();
  ASSERT_EQ(rows.size(), 7u);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const bool pass = static_cast<std::int64_t>(i) > detectedAfter;
    EXPECT_EQ(rows[i].event, pass ? RowEvent::Mutations : RowEvent::Generation) << i;
    EXPECT_EQ(rows[i].generation, pass ? detectedAfter : static_cast<std::int64_t>(i)) << i;
    EXPECT_EQ(rows[i].stop, i + 1 == rows.size() ? StopReason::PerfectGenome : StopReason::None);
    EXPECT_EQ(rows[i].settings.startingGeneValue, 8);
  }
  EXPECT_NE(rows[5].figures.counts, rows[6].figures.counts) << "the last pass changed genes";
  EXPECT_EQ(rows.back().figures.counts, SummariseGenes(simulation.File(), 100).counts);
  EXPECT_EQ(simulation.History().Spans().back().last, rows.back().figures.average);
}

TEST_F(RunControlTest, IndefiniteRunHaltedInAYieldCountsItsIterations) {
  Create();
  window.onYield = [this] {
    if (window.counter == " 4") control.cmdhaltrun_click();
  };
  control.CmdRunIndef_Click();
  EXPECT_EQ(log, QStringList({"show halt", "disable", "focus halt", "enable",
                              "loop executed  4 times", "hide halt", "summary"}));
  EXPECT_EQ(simulation.state.DblCount, 4);
  EXPECT_EQ(simulation.state.IntHalt, kNoHalt);
  const GenerationRow& last = simulation.Record().Rows().back();
  EXPECT_EQ(std::make_pair(last.generation, last.stop),
            std::make_pair(4L, StopReason::HaltedByUser));
}

TEST_F(RunControlTest, IndefiniteRunStartsEvenWhenTheFocusMoveIsDeferred) {
  Create();
  runWindow.onFocusHaltButton = nullptr;  // an inactive window takes the focus later
  window.onYield = [this] { control.cmdhaltrun_click(); };
  control.CmdRunIndef_Click();
  EXPECT_EQ(window.counter, " 1");
  EXPECT_TRUE(log.contains("loop executed  1 times"));
  log.clear();
  control.cmdhaltrun_gotfocus();  // the focus arriving at last starts no second run
  EXPECT_TRUE(log.isEmpty());
}

TEST_F(RunControlTest, DetectionInTheFirstIterationEndsTheRunWithTheCountOneAndItsPassRecorded) {
  PreparePerfectGenome(window);
  control.CmdRunIndef_Click();
  EXPECT_EQ(log, QStringList({"create", "Population successfully created!", "show halt", "disable",
                              "focus halt", "perfect genome detected", "enable",
                              "loop executed  1 times", "hide halt", "summary"}));
  EXPECT_EQ(window.counter, "0");
  const GenerationRow& last = simulation.Record().Rows().back();
  EXPECT_EQ(std::make_pair(last.event, last.stop),
            std::make_pair(RowEvent::Mutations, StopReason::PerfectGenome));
  EXPECT_EQ(last.figures.counts, SummariseGenes(simulation.File(), 10).counts);
}

TEST_F(RunControlTest, HaltInTheIterationOfADetectionHidesTheDetection) {
  PreparePerfectGenome(window);
  Create();
  window.onYield = [this] {
    if (simulation.state.IntHalt == kPerfectGenome) control.cmdhaltrun_click();
  };
  control.CmdRunIndef_Click();
  EXPECT_FALSE(log.contains("perfect genome detected"));
  EXPECT_TRUE(log.contains("loop executed  1 times"));
}

// A screen reader can press the halt button where a mouse cannot: hidden outside an indefinite
// run, or behind the box of a detection. The run reports and records what it told the user.
TEST_F(RunControlTest, HaltPressedOutsideTheLoopChangesNothing) {
  PreparePerfectGenome(window);
  Create();
  SetBox(&SettingTexts::generations, "3");
  window.texts.mutationsPerCycle = "0";
  window.onYield = [this] { control.cmdhaltrun_click(); };
  control.CmdRun_Click();
  window.onYield = nullptr;
  EXPECT_EQ(window.counter, " 3") << "no halt stops a fixed run";

  window.texts.mutationsPerCycle = "1000";
  dialogs.onMessage = [this](const QString& text) {
    log << text;
    if (text == "perfect genome detected") control.cmdhaltrun_click();
  };
  control.CmdRunIndef_Click();
  EXPECT_TRUE(log.contains("loop executed  1 times"));
  EXPECT_EQ(simulation.Record().Rows().back().stop, StopReason::PerfectGenome);
}

TEST_F(RunControlTest, FocusReturningToTheHaltButtonDuringARunStartsNoSecondRun) {
  Create();
  window.onYield = [this] {
    control.cmdhaltrun_gotfocus();
    if (window.counter == " 3") control.cmdhaltrun_click();
  };
  control.CmdRunIndef_Click();
  EXPECT_EQ(log.count("loop executed  3 times"), 1);
  EXPECT_EQ(log.count("summary"), 1);
}

TEST_F(RunControlTest, CommandsThatWouldDisturbARunAreRefusedDuringIt) {
  Create();
  SetBox(&SettingTexts::generations, "3");
  QStringList refusals;
  window.onYield = [&] {
    if (window.counter != " 1") return;
    const std::string before = Population();
    for (const auto& command : {std::function<void()>([&] { control.CmdRun_Click(); }),
                                std::function<void()>([&] { control.CmdRunIndef_Click(); }),
                                std::function<void()>([&] { control.CmdRestartAll_Click(); })}) {
      dialogs.messages.clear();
      command();
      refusals << dialogs.messages;
    }
    EXPECT_EQ(Population(), before);
    EXPECT_TRUE(control.RefuseWhileRunning());
  };
  control.CmdRun_Click();
  ASSERT_EQ(refusals.size(), 3);
  for (const QString& refusal : refusals)
    EXPECT_TRUE(refusal.startsWith("Generations are running"));
  EXPECT_EQ(window.counter, " 3") << "the refused commands left the run alone";
  EXPECT_EQ(simulation.state.IntCreated, kTrue);
  EXPECT_FALSE(control.RefuseWhileRunning());
}

TEST_F(RunControlTest, ResetDuringAFixedRunCountsOnFromZero) {
  Create();
  SetBox(&SettingTexts::generations, "5");
  window.onYield = [this] {
    if (window.yields == 2) control.CmdResetCounter_Click();
  };
  control.CmdRun_Click();
  EXPECT_EQ(window.counter, " 3");
}

TEST_F(RunControlTest, EraseDeletesThePopulationAndARunCreatesANewOne) {
  control.CmdRestartAll_Click();
  EXPECT_EQ(log, QStringList({"No population exists"}));

  Create();
  window.counter = " 17";
  control.CmdRestartAll_Click();
  EXPECT_FALSE(std::filesystem::exists(temp.Path() / "critter.dat"));
  EXPECT_EQ(window.counter, "0");
  EXPECT_EQ(simulation.state.IntCreated, kFalse);

  log.clear();
  SetBox(&SettingTexts::generations, "2");
  control.CmdRun_Click();
  EXPECT_EQ(log.first(), "create");
  EXPECT_EQ(window.counter, " 2");
  EXPECT_EQ(Population().size(), 2000u) << "100 critters and their 100 offspring records";
}

TEST_F(RunControlTest, ARunThatCannotCreateItsPopulationDoesNotStart) {
  SetBox(&SettingTexts::startingGeneValue, "   ");
  control.CmdRun_Click();
  control.CmdRunIndef_Click();
  EXPECT_EQ(log.count("create"), 2);
  EXPECT_FALSE(log.contains("generations were run"));
  EXPECT_FALSE(log.contains("show halt"));
  EXPECT_EQ(window.yields, 0);
}

// The file cannot grow for the offspring of the first generation: the run tells why and nothing
// more, and keeps the population as it was.
TEST_F(RunControlTest, AFileThatCannotGrowEndsTheRunWithItsReasonAlone) {
  window.options.autoMutation = false;
  Create();
  const std::string before = Population();
  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = before.size();
  setrlimit(RLIMIT_FSIZE, &limited);

  SetBox(&SettingTexts::generations, "3");
  control.CmdRun_Click();
  control.CmdRunIndef_Click();

  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);
  ASSERT_EQ(log.size(), 7) << log.join('|').toStdString();
  EXPECT_TRUE(log[0].startsWith("Cannot grow critter.dat: File too large")) << log[0].toStdString();
  EXPECT_EQ(log.mid(1, 3), QStringList({"show halt", "disable", "focus halt"}));
  EXPECT_EQ(log[4], log[0]);
  EXPECT_EQ(log.mid(5), QStringList({"enable", "hide halt"}));
  EXPECT_EQ(window.counter, "0");
  EXPECT_EQ(Population(), before);
}

// Another program writes into the population during a run, and a command in the run's yield (a
// view, Insert Mutations) finds it and drops the population: the run ends there, without one
// more generation over the closed file.
TEST_F(RunControlTest, ARunGoesNoFurtherOnceThePopulationIsDropped) {
  Create();
  window.onYield = [this] {
    if (window.yields != 2) return;
    OverwriteFileBytes(temp.Path() / "critter.dat", 5, "x");
    try {
      simulation.CheckFile();
    } catch (const FileError& failure) {
      log << Sentence(failure.problem());
    }
  };
  SetBox(&SettingTexts::generations, "5");
  control.CmdRun_Click();
  ASSERT_EQ(log.size(), 1) << "the loss, and nothing after it";
  EXPECT_TRUE(log[0].contains("was changed by another program")) << log[0].toStdString();
  EXPECT_EQ(window.counter, " 2");
  EXPECT_EQ(simulation.state.IntCreated, kFalse);
}

}  // namespace
}  // namespace evo::test
