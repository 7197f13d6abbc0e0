// The view windows as keyboard users and users of a platform theme meet them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "common/window_look.h"
#include "support/scripted_dialogs.h"
#include "views/charts/gene_count_chart.h"
#include "views/frm_show.h"
#include "views/frm_summary.h"
#include "views/views_test_support.h"

namespace evo::test {
namespace {

void PressEnter(QWidget* button, bool heldDown) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r", heldDown);
  QApplication::sendEvent(button, &press);
}

// Enter presses a view's button once, however long it is held; Escape leaves the window as its
// Quit or Done button does.
TEST(ViewsOnTheDesktop, EnterPressesAButtonOnceAndEscapeLeaves) {
  ScriptedDialogs dialogs;
  PopulationOnDisk disk(NumberedRecords(100));
  WindowUnderTest<FrmShow> genes(new FrmShow(disk.file, 100, dialogs));
  QSignalSpy genesClosed(genes.get(), &FrmShow::closed);
  PressEnter(genes.child<QPushButton>("Command3"), false);
  PressEnter(genes.child<QPushButton>("Command3"), true);
  EXPECT_EQ(genes.child<QLabel>("Label1")->text(), "range  21 to  41");
  genes->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(genes.get()));
  QTest::keyClick(genes.get(), Qt::Key_Escape);
  EXPECT_EQ(genesClosed.count(), 1);

  for (const bool byEscape : {false, true}) {
    WindowUnderTest<FrmSummary> summary(new FrmSummary(disk.file, 100, {}, {}, dialogs));
    ASSERT_TRUE(QTest::qWaitForWindowActive(summary.get()));
    QSignalSpy closed(summary.get(), &FrmSummary::closed);
    PressEnter(summary.child<QPushButton>("CmdDone"), true);
    EXPECT_EQ(closed.count(), 0);
    if (byEscape) QTest::keyClick(summary.get(), Qt::Key_Escape);
    if (!byEscape) PressEnter(summary.child<QPushButton>("CmdDone"), false);
    EXPECT_EQ(closed.count(), 1) << byEscape;
  }
}

// The darkest or lightest pixel of a picture against the colour at its corner.
double HighestContrastOnCorner(const QImage& image) {
  double highest = 1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      highest = std::max(highest, ContrastRatio(image.pixelColor(x, y), image.pixelColor(0, 0)));
    }
  }
  return highest;
}

// What qt6ct sets after start-up: its "darker" scheme, whose highlight is meant for light text on
// it, and an application font of its own.
TEST(ViewsOnTheDesktop, SummaryStaysReadableUnderAPlatformThemesPaletteAndFont) {
  EXPECT_NEAR(ContrastRatio(QColor::fromRgb(0x767676), Qt::white), 4.54, 0.01);
  const QPalette light = QApplication::palette();
  QPalette dark = light;
  dark.setColor(QPalette::Window, QColor::fromRgb(0x222020));
  dark.setColor(QPalette::WindowText, Qt::white);
  dark.setColor(QPalette::Highlight, QColor::fromRgb(0x12608a));
  QApplication::setPalette(dark);
  QApplication::setFont(QFont("DejaVu Serif", 12));
  {
    ScriptedDialogs dialogs;
    PopulationOnDisk disk(std::string(1000, '7'));
    WindowUnderTest<FrmSummary> summary(new FrmSummary(disk.file, 100, {}, {}, dialogs));
    EXPECT_GE(HighestContrastOnCorner(summary.child<QLabel>("LblSeven")->grab().toImage()), 4.5);
    auto* chart = summary.child<GeneCountChart>("GeneCountChart");
    const QImage bars = chart->grab().toImage();
    const QPoint bar = chart->BarRect(7).center() * bars.devicePixelRatio();
    EXPECT_GE(ContrastRatio(bars.pixelColor(bar), bars.pixelColor(0, 0)), 3.0);
    ExpectFont(summary.child<QLabel>("Label12"), 8.25, false);
    ExpectFont(chart, 8.25, false);
  }
  QApplication::setPalette(light);
  InstallProgramFont();
}

}  // namespace
}  // namespace evo::test
