// The main window as a desktop's keyboard and screen-reader users meet it.
#include <QTest>

#include "mainwin/main_window_fixture.h"
#include "support/accessible.h"

namespace evo::test {
namespace {

TEST_F(MainWindowTest, EnterPressesTheFocusedCommandButtonAndNothingInAField) {
  QWidget& reset = Button("CmdResetCounter");
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    window.SetGenerationCounter("12");
    reset.setFocus();
    QTest::keyClick(&reset, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    EXPECT_EQ(window.GenerationCounter(), "0") << key;
  }

  TypeInto("TxtPopSize", "50");
  QTest::keyClick(&Box("TxtPopSize"), Qt::Key_Return);
  EXPECT_EQ(Focused(), "TxtPopSize");
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(MainWindowTest, SpeaksTheCounterAsItMovesAndEachFieldWithItsCaptionAndHint) {
  QWidget& counter = Find("LblGencount");
  EXPECT_EQ(Spoken(&counter, QAccessible::Name), "Generations this run 0");
  EXPECT_TRUE(LabelledBy(&counter, &Find("Label7")));
  EXPECT_EQ(NameChangesTold(&counter, [this] { window.SetGenerationCounter(" 1"); }), 1);
  EXPECT_EQ(Spoken(&counter, QAccessible::Name), "Generations this run 1");
  EXPECT_EQ(Spoken(&Box("TxtPopSize"), QAccessible::Name), "Population size");
  EXPECT_EQ(Accessible(&window)->role(), QAccessible::Window);
  for (const char* label : {"Label1", "Label2", "Label3", "Label6"}) {
    auto& caption = Find<QLabel>(label);
    EXPECT_EQ(Spoken(caption.buddy(), QAccessible::Description), caption.toolTip()) << label;
    EXPECT_FALSE(caption.toolTip().isEmpty()) << label;
  }
}

}  // namespace
}  // namespace evo::test
