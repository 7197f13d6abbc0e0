#include <QAccessible>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QRadioButton>
#include <filesystem>

#include "support/main_window_fixture.h"

namespace evo::test {
namespace {

struct Placed {
  const char* name;
  const char* caption;
  int left, top, width, height;  // twips
};

// The controls as the window lays them out, in twips; the option buttons within their frames.
constexpr Placed kControls[] = {
    {"Label1", "Population size", 1080, 240, 1215, 375},
    {"TxtPopSize", "100", 2520, 240, 1815, 375},
    {"TxtGoodFactor", ".1", 2520, 720, 1815, 375},
    {"TxtMutateNum", "10", 2520, 1680, 1815, 375},
    {"TxtGenNum", "50", 2520, 2160, 1815, 375},
    {"TxtStartNum", "7", 3960, 2640, 375, 375},
    {"Frame1", "Sexual Exchange Status", 360, 3600, 2175, 975},
    {"Frame2", "Auto Mutation Insertion", 2760, 3600, 2175, 975},
    {"CmdCreate", "&Create Population", 5520, 240, 1935, 495},
    {"CmdRun", "Run Specified &Generations", 5520, 960, 1935, 495},
    {"CmdRunIndef", "Run &Indefinately", 5520, 1680, 1935, 495},
    {"CmdResetCounter", "Reset &Counter", 5520, 3120, 1935, 495},
    {"CmdRestartAll", "&Erase Population", 5520, 3840, 1935, 495},
    {"CmdMutate", "Insert &Mutations", 5520, 4560, 1935, 495},
    {"CmdExit", "E&xit", 5520, 5280, 1935, 495},
    {"Label2", "Good Mutation Probability", 1200, 720, 1215, 375},
    {"Label3", "Bad Mutation Probability", 1080, 1200, 1335, 375},
    {"OptSexOn", "ON", 360, 360, 615, 195},
    {"CmdViewSum", "View &Summary", 360, 4800, 1935, 495},
    {"CmdViewPop", "View Actual &Strings", 3000, 4800, 1935, 495},
    {"OptSexOff", "OFF", 360, 600, 1095, 255},
    {"OptMutationOn", "ON", 360, 360, 975, 255},
    {"TxtBadFactor", ".9", 2520, 1200, 1815, 375},
    {"OptMutationOff", "OFF", 360, 600, 855, 255},
    {"Label4", "Number of Generations  to run", 600, 2160, 1815, 375},
    {"Label5", "10 genes per individual", 240, 5520, 2775, 255},
    {"Label6", "Starting Gene Value (1 - 8)", 1200, 2760, 2295, 255},
    {"Label7", "Generations this run", 360, 6000, 1575, 375},
    {"LblGencount", "0", 2400, 6000, 1215, 375},
    {"Label9", "Absolute number mutations per cycle", 600, 1680, 1815, 375},
    {"CmdHaltRun", "Halt Run", 5520, 2400, 1935, 495},
};

QString Caption(const QWidget& control) {
  if (auto* label = qobject_cast<const QLabel*>(&control)) return label->text();
  if (auto* box = qobject_cast<const QLineEdit*>(&control)) return box->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(&control)) return button->text();
  return qobject_cast<const QGroupBox*>(&control)->title();
}

// Whether a caption, as drawn in its control's font, fits the control.
bool CaptionFits(const QWidget& control) {
  const QFontMetrics metrics(control.font());
  QString text = Caption(control);
  text.remove('&');
  if (auto* label = qobject_cast<const QLabel*>(&control)) {
    // Wrapped lines; the last one needs room down to the lowest ink of its glyphs only.
    const QFontMetricsF exact(control.font());
    const QRectF area = label->contentsRect();
    const QRectF needed = exact.boundingRect(area, Qt::TextWordWrap, text);
    const qreal inkBottom =
        needed.height() - exact.descent() + exact.tightBoundingRect(text).bottom();
    return needed.width() <= area.width() && inkBottom <= area.height();
  }
  // A button keeps a frame of a few pixels around its caption; an option button its indicator.
  const bool option = qobject_cast<const QRadioButton*>(&control) != nullptr;
  return metrics.horizontalAdvance(text) <= control.width() - (option ? 20 : 8);
}

TEST_F(MainWindowTest, ControlsStandWhereTheFormPutsThemWithTheirCaptions) {
  EXPECT_EQ(window.windowTitle(), "EVOLUTION SIMULATION");
  EXPECT_EQ(window.size(), QSize(557, 488));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  for (const Placed& control : kControls) {
    SCOPED_TRACE(control.name);
    const QWidget& widget = Find(control.name);
    EXPECT_EQ(widget.geometry(),
              QRect(control.left / 15, control.top / 15, control.width / 15, control.height / 15));
    EXPECT_EQ(Caption(widget), control.caption);
    if (!widget.isHidden() && control.name != std::string("LblGencount")) {
      EXPECT_TRUE(CaptionFits(widget));
    }
  }
  EXPECT_EQ(Find("OptSexOn").parentWidget(), &Find("Frame1"));
  EXPECT_EQ(Find("OptSexOff").parentWidget(), &Find("Frame1"));
  EXPECT_EQ(Find("OptMutationOn").parentWidget(), &Find("Frame2"));
  EXPECT_EQ(Find("OptMutationOff").parentWidget(), &Find("Frame2"));
}

TEST_F(MainWindowTest, FontsTooltipsAndLabelsForAssistiveTechnology) {
  EXPECT_EQ(Find("Label1").toolTip(), "Suggest 100 to 1000000");
  EXPECT_EQ(Find("Label2").toolTip(), "ranges from 0 to 1, where .01 = 1 out of 100");
  EXPECT_EQ(Find("Label3").toolTip(), "assigned automatically");
  EXPECT_EQ(Find("Label6").toolTip(), "Valid range is 1 to 8 only");

  const QFont note = Find("Label5").font();
  EXPECT_TRUE(note.bold());
  EXPECT_DOUBLE_EQ(note.pointSizeF(), 9.75);
  const QFont counter = Find("LblGencount").font();
  EXPECT_TRUE(counter.bold());
  EXPECT_DOUBLE_EQ(counter.pointSizeF(), 12);
  EXPECT_TRUE(Find<QLabel>("LblGencount").alignment() & Qt::AlignRight);
  const QFont plain = Find("Label7").font();
  EXPECT_EQ(QFontInfo(plain).family(), "Liberation Sans");
  EXPECT_DOUBLE_EQ(plain.pointSizeF(), 8.25);
  EXPECT_FALSE(plain.bold());

  const std::pair<const char*, const char*> fields[] = {
      {"TxtPopSize", "Population size"},
      {"TxtGoodFactor", "Good Mutation Probability"},
      {"TxtBadFactor", "Bad Mutation Probability"},
      {"TxtMutateNum", "Absolute number mutations per cycle"},
      {"TxtGenNum", "Number of Generations  to run"},
      {"TxtStartNum", "Starting Gene Value (1 - 8)"}};
  for (const auto& [box, name] : fields) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&Box(box));
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), name) << box;
  }
  const QList<QSize> iconSizes = window.windowIcon().availableSizes();
  EXPECT_TRUE(iconSizes.contains(QSize(16, 16)));
  EXPECT_TRUE(iconSizes.contains(QSize(32, 32)));
}

TEST_F(MainWindowTest, StartsWithTheDesignTimeStateAndNoFile) {
  EXPECT_EQ(Focused(), "TxtPopSize");
  EXPECT_TRUE(Button("OptSexOn").isChecked());
  EXPECT_TRUE(Button("OptMutationOn").isChecked());
  EXPECT_FALSE(Button("OptSexOff").isChecked());
  EXPECT_FALSE(Button("OptMutationOff").isChecked());
  EXPECT_TRUE(window.CurrentOptions().autoMutation);
  EXPECT_TRUE(window.CurrentOptions().sexualExchange);
  Button("OptMutationOff").click();
  EXPECT_FALSE(window.CurrentOptions().autoMutation);
  EXPECT_TRUE(window.CurrentOptions().sexualExchange);
  Button("OptSexOff").click();
  EXPECT_FALSE(window.CurrentOptions().sexualExchange);
  EXPECT_TRUE(Button("OptMutationOff").isChecked());

  EXPECT_TRUE(Button("CmdHaltRun").isHidden());
  for (auto* button : window.findChildren<QAbstractButton*>()) {
    if (button->objectName() == "CmdHaltRun") continue;
    EXPECT_TRUE(button->isVisible() && button->isEnabled()) << button->objectName().toStdString();
  }
  EXPECT_TRUE(Box("TxtBadFactor").isReadOnly());

  const SimulationState& state = window.simulation().state;
  EXPECT_EQ(state.IntCreated, kFalse);
  EXPECT_EQ(state.StrCritter, "          ");
  EXPECT_EQ(state.Str2Critter, "          ");
  EXPECT_EQ(state.SngDenom, 95.0f);
  EXPECT_FALSE(std::filesystem::exists("critter.dat"));
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST(MainWindowLoad, SeedsTheRandomSourceFromTheTimeOfDay) {
  ScriptedDialogs dialogs;
  TwisterRandomSource random;
  const float before = SecondsSinceMidnight();
  FrmMain window(dialogs, random);
  const float after = SecondsSinceMidnight();
  ASSERT_LE(before, after) << "midnight passed during the test";
  const float first = random.Draw();
  bool seededInBetween = false;
  for (float seconds = before; seconds <= after; seconds = std::nextafter(seconds, 1e6f)) {
    TwisterRandomSource candidate;
    candidate.SeedFromTimeOfDay(seconds);
    seededInBetween = seededInBetween || candidate.Draw() == first;
  }
  EXPECT_TRUE(seededInBetween);
}

TEST_F(MainWindowTest, TabVisitsTheControlsInTheirOrderAndBadFactorTakesNoTyping) {
  QStringList visited{Focused()};
  for (int i = 0; i < 30 && (visited.size() == 1 || visited.back() != "TxtPopSize"); ++i) {
    PressTab();
    visited << Focused();
  }
  EXPECT_EQ(visited.join(' '),
            "TxtPopSize TxtGoodFactor TxtMutateNum TxtGenNum TxtStartNum CmdCreate CmdRun "
            "CmdRunIndef CmdResetCounter CmdRestartAll CmdMutate CmdExit OptSexOn CmdViewSum "
            "CmdViewPop OptMutationOn TxtBadFactor TxtPopSize");

  QLineEdit& bad = Box("TxtBadFactor");
  bad.setFocus(Qt::TabFocusReason);
  const QString shown = bad.text();
  QTest::keyClicks(&bad, "5");
  QTest::keyClick(&bad, Qt::Key_Backspace);
  EXPECT_EQ(Focused(), "TxtBadFactor");
  EXPECT_EQ(bad.text(), shown);
}

}  // namespace
}  // namespace evo::test
