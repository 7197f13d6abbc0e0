// The view windows as keyboard users and users of a dark palette meet them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "common/window_look.h"
#include "support/accessible.h"
#include "support/scripted_dialogs.h"
#include "views/frm_show.h"
#include "views/frm_summary.h"
#include "views/gene_count_chart.h"
#include "views/views_test_support.h"

namespace evo::test {
namespace {

void PressEnter(QWidget* button, bool heldDown) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", heldDown);
  QApplication::sendEvent(button, &press);
}

// Enter presses the focused button once, however long it is held; Escape leaves the window as
// its Quit or Done button does.
TEST(ViewsOnTheDesktop, EnterPressesTheFocusedButtonOnceAndEscapeLeaves) {
  ScriptedDialogs dialogs;
  PopulationOnDisk disk(NumberedRecords(100));
  WindowUnderTest<FrmShow> genes(new FrmShow(disk.file, 100, dialogs));
  WindowUnderTest<FrmSummary> summary(new FrmSummary(disk.file, 100, {}, {}, dialogs));
  QSignalSpy genesClosed(genes.get(), &FrmShow::closed);
  QSignalSpy summaryClosed(summary.get(), &FrmSummary::closed);

  auto* next = genes.child<QPushButton>("Command3");
  next->setFocus();
  PressEnter(next, false);
  PressEnter(next, true);
  EXPECT_EQ(genes.child<QLabel>("Label1")->text(), "range  21 to  41");
  PressEnter(summary.child<QPushButton>("CmdDone"), true);
  EXPECT_EQ(summaryClosed.count(), 0);
  PressEnter(summary.child<QPushButton>("CmdDone"), false);
  EXPECT_EQ(summaryClosed.count(), 1);

  genes->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(genes.get()));
  QTest::keyClick(genes->focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(genesClosed.count(), 1);
  WindowUnderTest<FrmSummary> again(new FrmSummary(disk.file, 100, {}, {}, dialogs));
  QSignalSpy againClosed(again.get(), &FrmSummary::closed);
  ASSERT_TRUE(QTest::qWaitForWindowActive(again.get()));
  QTest::keyClick(again->focusWidget(), Qt::Key_Escape);
  EXPECT_EQ(againClosed.count(), 1);
}

// A platform theme (qt6ct, KDE's) may replace the application's font after start-up, before
// the views are made.
TEST(ViewsOnTheDesktop, KeepTheirFontsWhenThePlatformChangesTheApplicationFont) {
  QApplication::setFont(QFont("DejaVu Serif", 12));
  ScriptedDialogs dialogs;
  PopulationOnDisk disk(NumberedRecords(100));
  WindowUnderTest<FrmShow> genes(new FrmShow(disk.file, 100, dialogs));
  WindowUnderTest<FrmSummary> summary(new FrmSummary(disk.file, 100, {}, {}, dialogs));
  InstallProgramFont();
  ExpectFont(summary.child<QLabel>("Label12"), 8.25, false);
  ExpectFont(summary.child<QWidget>("AverageGeneChart"), 8.25, false);
  ExpectFont(genes.child<QWidget>("List1"), 8.25, false);
}

// The darkest (or lightest) pixel of a grab against the colour at its corner.
double HighestContrastOnCorner(const QImage& image) {
  const QColor corner = image.pixelColor(0, 0);
  double highest = 1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      highest = std::max(highest, ContrastRatio(image.pixelColor(x, y), corner));
    }
  }
  return highest;
}

// The colours of qt6ct's "darker" scheme, whose highlight is meant for light text on it.
TEST(ViewsOnTheDesktop, SummaryStaysReadableOnADarkPalette) {
  EXPECT_NEAR(ContrastRatio(Qt::black, Qt::white), 21, 1e-9);
  EXPECT_NEAR(ContrastRatio(QColor(0x76, 0x76, 0x76), Qt::white), 4.54, 0.01);
  const QPalette light = QApplication::palette();
  QPalette dark = light;
  for (const auto& [role, colour] : {std::pair{QPalette::Window, 0x222020},
                                     {QPalette::WindowText, 0xffffff},
                                     {QPalette::Base, 0x3d3d3d},
                                     {QPalette::Text, 0xffffff},
                                     {QPalette::Button, 0x424245},
                                     {QPalette::ButtonText, 0xffffff},
                                     {QPalette::Highlight, 0x12608a}}) {
    dark.setColor(role, QColor::fromRgb(colour));
  }
  QApplication::setPalette(dark);
  {
    ScriptedDialogs dialogs;
    PopulationOnDisk disk(std::string(1000, '7'));
    WindowUnderTest<FrmSummary> summary(new FrmSummary(disk.file, 100, {}, {}, dialogs));
    EXPECT_GE(HighestContrastOnCorner(summary.child<QLabel>("LblSeven")->grab().toImage()), 4.5);
    auto* chart = summary.child<GeneCountChart>("GeneCountChart");
    const QImage bars = chart->grab().toImage();
    const QPoint bar = chart->BarRect(7).center() * bars.devicePixelRatio();
    EXPECT_GE(ContrastRatio(bars.pixelColor(bar), bars.pixelColor(0, 0)), 3.0);
  }
  QApplication::setPalette(light);
}

}  // namespace
}  // namespace evo::test
