// The main window as a desktop's keyboard and screen-reader users meet it.
#include "common/desktop_conventions.h"

#include <QLineEdit>
#include <QPushButton>
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

// On a window of their own: the access-key mark of a caption is not spoken, a name or a hint that
// a control has of its own is kept, Enter with Ctrl or Alt presses nothing, and no button is
// drawn as the default one.
TEST(DesktopConventions, SpeakCaptionsAsReadAndPressOnlyOnAPlainEnter) {
  QWidget window;
  auto* caption = new QLabel("&Size", &window);
  caption->setToolTip("10 or more");
  caption->setBuddy(new QLineEdit(&window));
  auto* ownCaption = new QLabel("Count", &window);
  ownCaption->setToolTip("a hint");
  ownCaption->setBuddy(new QLabel("0", &window));
  ownCaption->buddy()->setAccessibleName("Critters counted");
  ownCaption->buddy()->setAccessibleDescription("how many");
  auto* button = new QPushButton("Go", &window);
  int clicks = 0;
  QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
  TieLabelsToControls(window);
  LetEnterPressButtons(window);

  EXPECT_EQ(Spoken(caption->buddy(), QAccessible::Name), "Size");
  EXPECT_EQ(Spoken(caption->buddy(), QAccessible::Description), "10 or more");
  EXPECT_EQ(Spoken(ownCaption->buddy(), QAccessible::Name), "Critters counted");
  EXPECT_EQ(Spoken(ownCaption->buddy(), QAccessible::Description), "how many");
  for (const Qt::KeyboardModifier modifier : {Qt::ControlModifier, Qt::AltModifier}) {
    QTest::keyClick(button, Qt::Key_Return, modifier);
  }
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(button->isDefault() || button->autoDefault());
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
