// The main window as a desktop's keyboard and screen-reader users meet it.
#include "common/desktop_conventions.h"

#include <QFocusFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/focus_ring.h"
#include "common/window_look.h"
#include "support/accessible.h"
#include "support/main_window_fixture.h"
#include "views/frm_summary.h"
#include "views/views_test_support.h"

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
  // No news of a name or description: a screen reader may take it after the focus.
  EXPECT_TRUE(EventsTold(caption->buddy(), [&] { TieLabelsToControls(window); }).isEmpty());
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

QPalette Palette(QRgb window, QRgb text, QRgb base, QRgb highlight) {
  QPalette palette = QApplication::palette();
  palette.setColor(QPalette::Window, window);
  palette.setColor(QPalette::WindowText, text);
  palette.setColor(QPalette::Base, base);
  palette.setColor(QPalette::Text, text);
  palette.setColor(QPalette::Highlight, highlight);
  return palette;
}

// Under the light palette, qt6ct's "darker" and a high-contrast one, the focus stands out 3:1
// from the window around it and from a field's background: on a field, a button and an option,
// measured on the window's picture just outside the control, and on a chart's frame.
TEST_F(MainWindowTest, TheFocusStandsOutUnderEveryPalette) {
  const QPalette light = QApplication::palette();
  const QPalette palettes[] = {light, Palette(0x222020, 0xffffff, 0x2a2a2a, 0x12608a),
                               Palette(0x000000, 0xffffff, 0x000000, 0x1aebff)};
  for (const QPalette& palette : palettes) {
    QApplication::setPalette(palette);
    const QColor around = palette.color(QPalette::Window);
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const char* name : {"TxtPopSize", "CmdCreate", "OptSexOn"}) {
      QWidget& control = Find(name);
      control.setFocus(Qt::TabFocusReason);
      const QImage picture = window.grab().toImage();
      const QPoint edge = control.mapTo(&window, QPoint(-2, control.height() / 2));
      const QColor ring = picture.pixelColor(edge * picture.devicePixelRatio());
      EXPECT_GE(ContrastRatio(ring, around), 3) << name << " on " << around.name().toStdString();
      EXPECT_GE(ContrastRatio(ring, palette.color(QPalette::Base)), 3) << name;
    }
    {
      PopulationOnDisk disk(std::string(1000, '7'));
      WindowUnderTest<FrmSummary> summary(new FrmSummary(disk.file, 100, {}, {}, dialogs));
      summary->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(summary.get()));
      auto& chart = *summary.child<QWidget>("GeneCountChart");
      chart.setFocus(Qt::TabFocusReason);
      const QImage picture = chart.grab().toImage();
      const QColor frame =
          picture.pixelColor(QPoint(1, chart.height() / 2) * picture.devicePixelRatio());
      EXPECT_GE(ContrastRatio(frame, around), 3) << "chart on " << around.name().toStdString();
    }
  }
  QApplication::setPalette(light);
}

// A control that a layout moves while it has the focus takes the ring along.
TEST_F(MainWindowTest, TheFocusRingFollowsAControlThatMoves) {
  QWidget& control = Find("CmdCreate");
  control.setFocus(Qt::TabFocusReason);
  control.move(control.pos() + QPoint(0, 40));
  const auto* ring = window.findChild<QFocusFrame*>();
  ASSERT_NE(ring, nullptr);
  const QRect at(control.mapTo(&window, QPoint(0, 0)), control.size());
  EXPECT_EQ(ring->geometry(),
            at.adjusted(-kFocusRingMargin, -kFocusRingMargin, kFocusRingMargin, kFocusRingMargin));
}

}  // namespace
}  // namespace evo::test
