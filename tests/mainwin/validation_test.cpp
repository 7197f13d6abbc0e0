#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <filesystem>

#include "support/accessible.h"
#include "support/main_window_fixture.h"

namespace evo::test {
namespace {

const QString kTooSmall = "values must be greator than 9";
const QString kTooLarge = "value must be a million or less";
const QString kProbability = "Probabilities are only in range 0 to 1";
const QString kStartRange = "values must be in range 1 to 8";
const QString kNoPopulation = "No population exists";

struct Leaving {
  const char* typed;
  const char* after;  // the box's text once left
  QStringList messages;
};

class ValidationTest : public MainWindowTest {
 protected:
  // Types into a box, leaves it by Tab and checks what the box holds and which messages came.
  void CheckLeaving(const char* box, const Leaving& leaving) {
    SCOPED_TRACE(std::string(box) + " typed '" + leaving.typed + "'");
    TypeInto(box, leaving.typed);
    dialogs.messages.clear();
    PressTab();
    EXPECT_EQ(Box(box).text(), leaving.after);
    EXPECT_EQ(dialogs.messages, leaving.messages);
  }

  // Every message opens a real modal box, which the user answers with Return.
  void ShowRealMessageBoxes() {
    dialogs.onMessage = [](const QString& text) {
      QTimer::singleShot(
          0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
      ModalDialogs().Message(text);
    };
  }
};

TEST_F(ValidationTest, PopulationSizeIsRewrittenAndRepairedWhereverTheFocusWent) {
  const Leaving cases[] = {
      {"100", " 100", {}},         {"10", " 10", {}},
      {"1000000", " 1000000", {}}, {"12.9", " 12", {}},
      {"2e3", " 2000", {}},        {"9", "10", {kTooSmall}},
      {"9.99", "10", {kTooSmall}}, {"1000001", "10", {kTooLarge}},
      {"", "10", {kTooSmall}},     {"abc", "10", {kTooSmall}},
      {"-50", "10", {kTooSmall}},  {"1,000", "10", {kTooSmall}},
  };
  for (const Leaving& leaving : cases) {
    CheckLeaving("TxtPopSize", leaving);
    EXPECT_EQ(Focused(), "TxtGoodFactor");
  }
  // A second visit leaves the rewritten text as it was.
  TypeInto("TxtPopSize", "250");
  PressTab();
  Box("TxtPopSize").setFocus(Qt::TabFocusReason);
  PressTab();
  EXPECT_EQ(Box("TxtPopSize").text(), " 250");
}

TEST_F(ValidationTest, GoodProbabilityFillsInTheBadOneOrIsTakenBackEmpty) {
  const std::pair<Leaving, const char*> accepted[] = {
      {{".1", ".1", {}}, " .9"},      {{"0", "0", {}}, " 1"}, {{"1", "1", {}}, " 0"},
      {{"0.25", "0.25", {}}, " .75"}, {{"", "", {}}, " 1"},   {{"abc", "abc", {}}, " 1"},
  };
  for (const auto& [leaving, bad] : accepted) {
    CheckLeaving("TxtGoodFactor", leaving);
    EXPECT_EQ(Box("TxtBadFactor").text(), bad);
    EXPECT_EQ(Focused(), "TxtMutateNum");
  }
  for (const char* typed : {"1.5", "-0.1"}) {
    Box("TxtBadFactor").setText(" .25");
    CheckLeaving("TxtGoodFactor", {typed, "", {kProbability}});
    EXPECT_EQ(Box("TxtBadFactor").text(), " .25");
    EXPECT_EQ(Focused(), "TxtGoodFactor");
  }
}

TEST_F(ValidationTest, StartValueIsRewrittenOrTakenBackEmpty) {
  for (const Leaving& leaving : {Leaving{"7", " 7", {}}, Leaving{"1", " 1", {}},
                                 Leaving{"8", " 8", {}}, Leaving{"1.9", " 1", {}}}) {
    CheckLeaving("TxtStartNum", leaving);
    EXPECT_EQ(Focused(), "CmdCreate");
  }
  for (const char* typed : {"0", "9", "8.5", "0.5", "", "abc"}) {
    CheckLeaving("TxtStartNum", {typed, "", {kStartRange}});
    EXPECT_EQ(Focused(), "TxtStartNum");
  }
}

TEST_F(ValidationTest, OnlyTheBoxBeingLeftIsValidated) {
  TypeInto("TxtMutateNum", "abc");
  PressTab();
  TypeInto("TxtGenNum", "-4");
  PressTab();
  EXPECT_EQ(Box("TxtMutateNum").text(), "abc");
  EXPECT_EQ(Box("TxtGenNum").text(), "-4");

  // Into a box that holds a refused text: that box is validated only when it is left.
  TypeInto("TxtPopSize", "250");
  Box("TxtStartNum").setText("0");
  QTest::mouseClick(&Box("TxtStartNum"), Qt::LeftButton);
  EXPECT_EQ(Box("TxtPopSize").text(), " 250");
  EXPECT_EQ(Focused(), "TxtStartNum");
  EXPECT_TRUE(dialogs.messages.isEmpty());
  PressTab();
  EXPECT_EQ(dialogs.messages, QStringList{kStartRange});
}

TEST_F(ValidationTest, TwoBoxesThatBothRefuseDoNotTakeTheFocusFromEachOtherForEver) {
  Box("TxtStartNum").setText("0");
  TypeInto("TxtGoodFactor", "5");
  QTest::mouseClick(&Box("TxtStartNum"), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages, QStringList{kProbability});
  EXPECT_EQ(Focused(), "TxtGoodFactor");
  EXPECT_EQ(Box("TxtGoodFactor").text(), "");
  EXPECT_EQ(Box("TxtStartNum").text(), "0");
}

TEST_F(ValidationTest, AMessageBoxOrAnotherWindowTakingTheFocusValidatesNothing) {
  ShowRealMessageBoxes();
  TypeInto("TxtGoodFactor", "5");
  window.runs().CmdRestartAll_Click();  // a box from a command that reads no field
  EXPECT_EQ(dialogs.messages, QStringList{kNoPopulation});

  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  EXPECT_EQ(dialogs.messages, QStringList{kNoPopulation});
  EXPECT_EQ(Box("TxtGoodFactor").text(), "5");
  EXPECT_EQ(Focused(), "TxtGoodFactor");
}

TEST_F(ValidationTest, AnAccessKeyOrAClickValidatesTheBoxBeforeItsCommand) {
  TypeInto("TxtPopSize", "5");
  PressAlt('M');
  EXPECT_EQ(dialogs.messages, (QStringList{kTooSmall, kNoPopulation}));
  EXPECT_EQ(Box("TxtPopSize").text(), "10");
  EXPECT_EQ(Focused(), "CmdMutate");
}

TEST_F(ValidationTest, AMessageBoxOfTheBoxBeingLeftInterruptsTheClick) {
  ShowRealMessageBoxes();
  using Press = void (*)(QAbstractButton&);
  const Press presses[] = {
      [](QAbstractButton& button) { QTest::mouseClick(&button, Qt::LeftButton); },
      [](QAbstractButton& button) { QTest::keyClick(button.window(), Qt::Key_M, Qt::AltModifier); },
  };
  for (const char* box : {"TxtGoodFactor", "TxtPopSize"}) {
    for (Press press : presses) {
      SCOPED_TRACE(box);
      TypeInto(box, "5");
      dialogs.messages.clear();
      press(Button("CmdMutate"));
      EXPECT_EQ(dialogs.messages.size(), 1);  // the refusal, and no "No population exists"
      // The size is repaired and the focus left where the user sent it.
      EXPECT_EQ(Focused(), box == std::string("TxtPopSize") ? "CmdMutate" : box);
      EXPECT_FALSE(Button("CmdMutate").isDown());
      window.activateWindow();  // as a window manager does once the box has gone
      ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
      QCoreApplication::processEvents();
    }
  }
  // Once the box is answered, the next click goes through.
  dialogs.messages.clear();
  QTest::mouseClick(&Button("CmdMutate"), Qt::LeftButton);
  EXPECT_EQ(dialogs.messages, QStringList{kNoPopulation});
}

TEST_F(ValidationTest, ARepeatedAccessKeyMovesTheFocusBetweenItsButtonsWithoutClicking) {
  TypeInto("TxtPopSize", "5");
  QStringList visited;
  for (int i = 0; i < 3; ++i) {
    PressAlt('C');
    visited << Focused();
  }
  EXPECT_EQ(visited, (QStringList{"CmdCreate", "CmdResetCounter", "CmdCreate"}));
  EXPECT_EQ(dialogs.messages, QStringList{kTooSmall});
  EXPECT_EQ(window.simulation().state.IntCreated, kFalse);
}

// What a screen reader's or voice control's press does: a click a moment later, without moving
// the focus.
void PressThroughAccessibility(QAbstractButton& button) {
  QSignalSpy clicked(&button, &QAbstractButton::clicked);
  Accessible(&button)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  ASSERT_TRUE(clicked.wait(60000));
}

// A press that moves no focus: each command checks the field that has it as leaving would, and
// does nothing after a refusal. No byte that is no gene is written.
TEST_F(ValidationTest, APressThatMovesNoFocusStillChecksTheField) {
  struct Case {
    const char* box;
    const char* typed;
    const char* command;
    QString message;
    const char* accepted;  // put back afterwards, for the focus to leave the box
  };
  const Case cases[] = {{"TxtStartNum", "x", "CmdCreate", kStartRange, "7"},
                        {"TxtStartNum", "9", "CmdRun", kStartRange, "7"},
                        {"TxtGoodFactor", "2", "CmdRun", kProbability, ".1"},
                        {"TxtPopSize", "5", "CmdMutate", kTooSmall, "100"},
                        {"TxtPopSize", "2000000", "CmdViewSum", kTooLarge, "100"},
                        {"TxtGoodFactor", "-1", "CmdViewPop", kProbability, ".1"}};
  for (const Case& refused : cases) {
    SCOPED_TRACE(std::string(refused.box) + " '" + refused.typed + "', " + refused.command);
    TypeInto(refused.box, refused.typed);
    dialogs.messages.clear();
    PressThroughAccessibility(Button(refused.command));
    EXPECT_EQ(Focused(), refused.box);
    EXPECT_EQ(dialogs.messages, QStringList{refused.message});
    EXPECT_FALSE(std::filesystem::exists("critter.dat"));
    EXPECT_TRUE(window.isVisible()) << "no view opened";
    Box(refused.box).setText(refused.accepted);
  }
  TypeInto("TxtStartNum", "3");
  PressThroughAccessibility(Button("CmdCreate"));
  EXPECT_EQ(FileBytes("critter.dat"), std::string(1000, '3'));
  EXPECT_EQ(Box("TxtStartNum").text(), " 3");
}

}  // namespace
}  // namespace evo::test
