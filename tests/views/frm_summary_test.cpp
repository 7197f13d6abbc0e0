#include "views/frm_summary.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
#include <array>
#include <cstdint>

#include "common/number_caption.h"
#include "support/accessible.h"
#include "support/scripted_dialogs.h"
#include "views/charts/average_gene_chart.h"
#include "views/charts/chart.h"
#include "views/charts/chart_axis.h"
#include "views/charts/gene_count_chart.h"
#include "views/views_test_support.h"

namespace evo::test {
namespace {

const std::array<const char*, 10> kCountLabels = {"LblZero",  "LblOne",  "LblTwo", "LblThree",
                                                  "LblFour",  "LblFive", "LblSix", "LblSeven",
                                                  "LblEight", "LblNine"};

struct SummaryWindow {
  SummaryWindow(const std::string& bytes, std::int32_t populationSize,
                const AverageGeneHistory& history = {}, const GenerationRecord& record = {})
      : disk(bytes), window(new FrmSummary(disk.file, populationSize, history, record, dialogs)) {}

  QString Text(const char* label) const { return window.child<QLabel>(label)->text(); }
  QStringList Counts() const {
    QStringList counts;
    for (const char* label : kCountLabels) counts << Text(label);
    return counts;
  }
  const GeneCountChart& Chart() const { return *window.child<GeneCountChart>("GeneCountChart"); }
  AverageGeneChart& Course() const { return *window.child<AverageGeneChart>("AverageGeneChart"); }

  PopulationOnDisk disk;
  ScriptedDialogs dialogs;
  WindowUnderTest<FrmSummary> window;
};

// The counts as the labels show them: " 0" for every digit but those given.
QStringList CountTexts(std::initializer_list<std::pair<int, const char*>> nonZero) {
  QStringList counts(10, " 0");
  for (const auto& [digit, text] : nonZero) counts[digit] = text;
  return counts;
}

TEST(FrmSummary, LaysOutTheFormAsDesignedWithTheChartInTheFreeArea) {
  SummaryWindow summary(std::string(1000, '7'), 100);
  FrmSummary* window = summary.window.get();
  EXPECT_EQ(window->windowTitle(), "Summary Page");
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->size(), QSize(421, 438));
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  ExpectCentred(*window);
  EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
  EXPECT_EQ(window->focusWidget(), summary.window.child<QWidget>("CmdDone"));

  const auto* done = summary.window.child<QPushButton>("CmdDone");
  ExpectTwips(done, 4080, 240, 1335, 495);
  ExpectFont(done, 12, false);
  EXPECT_EQ(done->text(), "Done");
  ExpectTwips(summary.window.child<QLabel>("Label1"), 480, 120, 2175, 375);
  ExpectFont(summary.window.child<QLabel>("Label1"), 13.5, false);
  EXPECT_EQ(summary.Text("Label1"), "Gene Quantities");
  ExpectTwips(summary.window.child<QLabel>("Label12"), 4080, 1440, 1335, 375);
  ExpectFont(summary.window.child<QLabel>("Label12"), 8.25, false);
  EXPECT_EQ(summary.Text("Label12"), "Average Gene is");
  const auto* average = summary.window.child<QLabel>("LblAverage");
  ExpectTwips(average, 3360, 2040, 2775, 495);
  ExpectFont(average, 14.25, false);
  EXPECT_EQ(average->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

  struct Name {
    const char* label;
    const char* caption;
    int left;
  };
  const std::array<Name, 10> names = {
      Name{"Label11", "Zeroes", 480}, Name{"Label2", "Ones", 480},   Name{"Label3", "Twos", 480},
      Name{"Label4", "Threes", 480},  Name{"Label5", "Fours", 360},  Name{"Label6", "Fives", 360},
      Name{"Label7", "Sixes", 240},   Name{"Label8", "Sevens", 240}, Name{"Label9", "Eights", 480},
      Name{"Label10", "Nines", 240}};
  for (int d = 0; d < 10; ++d) {
    const auto* count = summary.window.child<QLabel>(kCountLabels[d]);
    ExpectTwips(count, 1920, 840 + 480 * d, 1215, 255);
    EXPECT_TRUE(count->autoFillBackground());
    EXPECT_EQ(count->palette().color(count->backgroundRole()), QColor(Qt::white));
    const auto* name = summary.window.child<QLabel>(names[d].label);
    ExpectTwips(name, names[d].left, 840 + 480 * d, 1455 - names[d].left, 255);
    EXPECT_EQ(name->text(), names[d].caption);
    EXPECT_EQ(name->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  }

  for (const QWidget* chart : {static_cast<const QWidget*>(&summary.Chart()),
                               static_cast<const QWidget*>(&summary.Course())}) {
    const QRect place = chart->geometry();
    EXPECT_GT(place.top(), average->geometry().bottom());
    for (const QWidget* control : window->findChildren<QWidget*>()) {
      if (control != chart && control->parentWidget() == window) {
        EXPECT_FALSE(place.intersects(control->geometry()))
            << chart->objectName().toStdString() << " " << control->objectName().toStdString();
      }
    }
    EXPECT_TRUE(window->rect().contains(place));
  }
}

TEST(FrmSummary, ShowsItselfAndCountsAFreshPopulation) {
  SummaryWindow summary(std::string(1000, '7'), 100);
  EXPECT_TRUE(summary.window->isVisible());
  EXPECT_EQ(summary.Counts(), CountTexts({{7, " 1000"}}));
  EXPECT_EQ(summary.Text("LblAverage"), " 7");
}

TEST(FrmSummary, AveragesOverTenGenesPerCritter) {
  {
    SummaryWindow summary(std::string(999, '5') + "6", 100);
    EXPECT_EQ(summary.Counts(), CountTexts({{5, " 999"}, {6, " 1"}}));
    EXPECT_EQ(summary.Text("LblAverage"), " 5.001");
  }
  {
    SummaryWindow summary(std::string(20, '4') + std::string(10, '5'), 3);
    EXPECT_EQ(summary.Text("LblAverage"), " 4.33333333333333");
  }
  {
    // Only the first P records count when the field was lowered after creation.
    SummaryWindow summary(std::string(100, '2') + std::string(100, '9'), 10);
    EXPECT_EQ(summary.Counts(), CountTexts({{2, " 100"}}));
    EXPECT_EQ(summary.Text("LblAverage"), " 2");
  }
}

TEST(FrmSummary, NonDigitsAndPositionsPastTheEndLowerTheAverage) {
  {
    SummaryWindow summary(std::string(50, '8') + std::string(25, 'x') + std::string(25, '\0'), 10);
    EXPECT_EQ(summary.Counts(), CountTexts({{8, " 50"}}));
    EXPECT_EQ(summary.Text("LblAverage"), " 4");
  }
  {
    // A field raised to 20 over a file of 10 records and 5 bytes of an 11th.
    SummaryWindow summary(std::string(100, '9') + "11111", 20);
    EXPECT_EQ(summary.Counts(), CountTexts({{1, " 5"}, {9, " 100"}}));
    EXPECT_EQ(summary.Text("LblAverage"), " 4.525");
  }
}

TEST(FrmSummary, ShowsNothingCountedForNoCritters) {
  for (const std::int32_t size : {0, -1, -2147483647 - 1}) {
    SummaryWindow summary(std::string(100, '3'), size);
    EXPECT_EQ(summary.Counts(), CountTexts({})) << size;
    EXPECT_EQ(summary.Text("LblAverage"), " 0") << size;
    for (int d = 0; d < 10; ++d) EXPECT_EQ(summary.Chart().BarRect(d).height(), 0) << size;
  }
}

TEST(FrmSummary, DrawsBarsThatFollowTheCounts) {
  // 400 ones, 200 twos, 399 fives and one six.
  SummaryWindow summary(std::string(400, '1') + std::string(200, '2') + std::string(399, '5') + "6",
                        100);
  const GeneCountChart& chart = summary.Chart();
  const int tallest = chart.BarRect(1).height();
  EXPECT_GT(tallest, 80) << "most of the plot, beside and above the axes' titles";
  EXPECT_NEAR(chart.BarRect(2).height(), tallest / 2.0, 1);
  EXPECT_NEAR(chart.BarRect(5).height(), tallest * 399 / 400.0, 1);
  EXPECT_GE(chart.BarRect(6).height(), 1);
  EXPECT_LT(chart.BarRect(6).height(), 3);
  for (int d : {0, 3, 4, 7, 8, 9}) EXPECT_EQ(chart.BarRect(d).height(), 0) << d;
  // Side by side, left to right, on one base line inside the chart.
  for (int d = 0; d < 10; ++d) {
    const QRect bar = chart.BarRect(d);
    EXPECT_EQ(bar.top() + bar.height(), chart.BarRect(0).top()) << d;
    if (bar.height() > 0) {
      EXPECT_TRUE(chart.rect().contains(bar)) << d;
    }
    if (d > 0) {
      EXPECT_GT(bar.left(), chart.BarRect(d - 1).right()) << d;
    }
  }
}

// A long run at 5 with one generation at 8.75: merged many times over, the high is still drawn.
TEST(FrmSummary, ChartsTheAverageGeneWithItsExtremesOrSaysThatNoGenerationRan) {
  EXPECT_EQ(SummaryWindow(std::string(1000, '7'), 100).Course().accessibleDescription(),
            "No generation run yet");
  AverageGeneHistory history;
  for (int generation = 1; generation <= 100'000; ++generation) {
    history.AddAfterGeneration(generation == 61'234 ? 8.75 : 5 + generation / 1e6);
  }
  SummaryWindow summary(std::string(1000, '7'), 100, history);
  AverageGeneChart& chart = summary.Course();
  EXPECT_TRUE(chart.accessibleName().contains("Average gene"));
  EXPECT_EQ(chart.accessibleDescription(), "100000 generations: the average gene went from" +
                                               NumberCaption(5.000001) + " to" +
                                               NumberCaption(5.1));
  const QImage image = chart.grab().toImage();
  const QPointF spike = chart.PointAt(61'234, 8.75) * image.devicePixelRatio();
  int top = image.height();  // the highest pixel of the course, in the highlight colour
  for (int y = image.height() - 1; y >= 0; --y) {
    const QColor pixel = image.pixelColor(static_cast<int>(spike.x()), y);
    if (pixel.blue() - pixel.red() > 60) top = y;
  }
  EXPECT_NEAR(top, spike.y(), 2 * image.devicePixelRatio());
}

TEST(FrmSummary, ChartsTheAverageAfterExactlyOneGeneration) {
  AverageGeneHistory history;
  history.AddAfterGeneration(6.5);
  SummaryWindow summary(std::string(1000, '7'), 100, history);
  AverageGeneChart& chart = summary.Course();
  EXPECT_EQ(chart.accessibleDescription(), "1 generation: the average gene went from 6.5 to 6.5");
  const QImage image = chart.grab().toImage();
  const QPoint point = (chart.PointAt(1, 6.5) * image.devicePixelRatio()).toPoint();
  int highlighted = 0;  // pixels of the course around the record's place
  for (int x = point.x() - 3; x <= point.x() + 3; ++x) {
    for (int y = point.y() - 3; y <= point.y() + 3; ++y) {
      const QColor pixel = image.valid(x, y) ? image.pixelColor(x, y) : QColor();
      highlighted += pixel.blue() - pixel.red() > 60 ? 1 : 0;
    }
  }
  EXPECT_GT(highlighted, 0);
}

// Scales on round steps, each with three labelled ticks at least, whatever the range.
TEST(AxisScale, FitsNarrowRangesAndCountsFromZeroOnRoundSteps) {
  const AxisScale narrow = AxisScale::Fitted(7.0, 7.13, 0, 9);
  EXPECT_LE(narrow.Low(), 7.0);
  EXPECT_GE(narrow.High(), 7.13);
  EXPECT_LT(narrow.High() - narrow.Low(), 0.3);
  QStringList labels;
  for (const double tick : narrow.Ticks()) labels << narrow.Label(tick);
  EXPECT_EQ(labels, QStringList({"6.95", "7.00", "7.05", "7.10", "7.15"}));

  for (const AxisScale& scale : {AxisScale::Fitted(0, 9, 0, 9), AxisScale::Fitted(8.9, 9, 0, 9),
                                 AxisScale::Fitted(5, 5, 0, 9), AxisScale::FromZero(0),
                                 AxisScale::FromZero(1), AxisScale::FromZero(1'000'001)}) {
    const std::vector<double> ticks = scale.Ticks();
    EXPECT_GE(ticks.size(), 3u) << scale.Low() << " " << scale.High();
    EXPECT_LE(ticks.size(), 8u) << scale.Low() << " " << scale.High();
    EXPECT_GE(scale.Low(), 0);
    EXPECT_LE(ticks.back(), scale.High());
  }
  EXPECT_LE(AxisScale::Fitted(8.9, 9, 0, 9).High(), 9);
  const AxisScale counts = AxisScale::FromZero(1'000'001);
  EXPECT_GE(counts.High(), 1'000'001);
  EXPECT_EQ(counts.Label(counts.Ticks()[1]), "500000");
}

// A rise from 7.00 to 7.13 over 200 generations fills most of the chart's height.
TEST(FrmSummary, ChartsASmallRiseOfTheAverageAcrossTheChart) {
  AverageGeneHistory history;
  for (int generation = 1; generation <= 200; ++generation) {
    history.AddAfterGeneration(7 + generation * 0.13 / 200);
  }
  SummaryWindow summary(std::string(1000, '7'), 100, history);
  const AverageGeneChart& chart = summary.Course();
  const double rise = chart.PointAt(1, 7.0).y() - chart.PointAt(200, 7.13).y();
  EXPECT_GT(rise, chart.height() * 0.3) << "on a scale of 0 to 9 it would rise by a pixel";
}

// The frame of a focused chart covers its edge only, where the chart draws nothing.
TEST(FrmSummary, TheFocusFrameOfAChartCoversNoLabel) {
  SummaryWindow summary(std::string(400, '1') + std::string(600, '5'), 100);
  summary.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(summary.window.get()));
  for (QWidget* chart : {summary.window.child<QWidget>("GeneCountChart"),
                         summary.window.child<QWidget>("AverageGeneChart")}) {
    const QImage unfocused = chart->grab().toImage();
    chart->setFocus(Qt::TabFocusReason);
    const QImage focused = chart->grab().toImage();
    const int edge = static_cast<int>(kChartFocusEdge * focused.devicePixelRatio());
    const QRgb background = unfocused.pixel(0, 0);
    int changed = 0;
    for (int y = 0; y < focused.height(); ++y) {
      for (int x = 0; x < focused.width(); ++x) {
        const bool onEdge =
            x < edge || y < edge || x >= focused.width() - edge || y >= focused.height() - edge;
        if (onEdge) {
          ASSERT_EQ(unfocused.pixel(x, y), background)
              << chart->objectName().toStdString() << " " << x << "," << y;
        }
        if (focused.pixel(x, y) == unfocused.pixel(x, y)) continue;
        ++changed;
        ASSERT_TRUE(onEdge) << chart->objectName().toStdString() << " " << x << "," << y;
      }
    }
    EXPECT_GT(changed, focused.width()) << "the frame shows";
  }
}

// A screen reader hears the result with Done as the window opens, reaches the average by Tab, and
// hears a copy told as the note shows it.
TEST(FrmSummary, SpeaksItsResultOnOpeningAndTellsACopy) {
  GenerationRecord record;
  record.Add(RowEvent::Created, {}, {});
  record.Add(RowEvent::Generation, {}, {});
  SummaryWindow summary(std::string(999, '5') + "6", 100, {}, record);
  summary.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(summary.window.get()));
  QWidget* done = summary.window.child<QWidget>("CmdDone");
  EXPECT_EQ(Spoken(done, QAccessible::Description),
            "Average Gene is 5.001. Zeroes 0, Ones 0, Twos 0, Threes 0, Fours 0, Fives 999, "
            "Sixes 1, Sevens 0, Eights 0, Nines 0.");
  QTest::keyClick(summary.window.get(), Qt::Key_Tab);
  EXPECT_EQ(summary.window->focusWidget()->objectName(), "LblAverage");

  QWidget* average = summary.window.child<QWidget>("LblAverage");
  EXPECT_EQ(Spoken(average, QAccessible::Name), "Average Gene is 5.001");
  EXPECT_FALSE(LabelledBy(average, summary.window.child<QWidget>("Label12")))
      << "a focused label's caption is spoken before its name, which holds the caption already";

  EXPECT_EQ(
      NoticesTold([&] { QTest::keyClick(summary.window.get(), Qt::Key_C, Qt::ControlModifier); }),
      QStringList({"Copied the data of 2 rows as CSV"}));
  EXPECT_EQ(summary.Text("LblNote"), "Copied the data of 2 rows as CSV.");
  QTest::keyClick(summary.window.get(), Qt::Key_Tab);
  auto& chart = *summary.window.child<QWidget>("GeneCountChart");
  EXPECT_EQ(NoticesTold([&] { chart.actions()[2]->trigger(); }),
            QStringList({"Copied the picture of the chart"}));
  EXPECT_EQ(summary.Text("LblNote"), "Copied the picture of the chart.");
  EXPECT_TRUE(Spoken(&chart, QAccessible::Description).startsWith("Genes of each value, 0: 0"))
      << "its own description, unchanged by the copy";
}

TEST(FrmSummary, ClosesAndTellsByDoneOrByTheTitleBar) {
  for (const bool byTitleBar : {false, true}) {
    SummaryWindow summary(std::string(1000, '7'), 100);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(summary.window.get()));
    QSignalSpy closed(summary.window.get(), &FrmSummary::closed);
    if (byTitleBar) {
      summary.window->windowHandle()->close();
    } else {
      QTest::mouseClick(summary.window.child<QPushButton>("CmdDone"), Qt::LeftButton);
    }
    EXPECT_EQ(closed.count(), 1) << byTitleBar;
    DeleteClosedWindows();
    EXPECT_FALSE(summary.window.alive()) << byTitleBar;
  }
}

TEST(FrmSummary, SpeaksEachFigureWithItsCaptionAndTheChartWithTheCounts) {
  SummaryWindow summary(std::string(999, '5') + "6", 100);
  const std::array<const char*, 10> captions = {"Label11", "Label2", "Label3", "Label4", "Label5",
                                                "Label6",  "Label7", "Label8", "Label9", "Label10"};
  for (std::size_t d = 0; d < captions.size(); ++d) {
    auto* count = summary.window.child<QLabel>(kCountLabels[d]);
    auto* caption = summary.window.child<QLabel>(captions[d]);
    EXPECT_EQ(Spoken(count, QAccessible::Name), caption->text() + " " + count->text().trimmed());
    EXPECT_TRUE(LabelledBy(count, caption)) << d;
  }
  EXPECT_EQ(Spoken(summary.window.child<QLabel>("LblSix"), QAccessible::Name), "Sixes 1");
  EXPECT_EQ(Spoken(summary.window.child<QLabel>("LblAverage"), QAccessible::Name),
            "Average Gene is 5.001");
  EXPECT_EQ(Accessible(summary.window.get())->role(), QAccessible::Window);

  auto* chart = summary.window.child<QWidget>("GeneCountChart");
  EXPECT_FALSE(Spoken(chart, QAccessible::Name).isEmpty());
  for (QWidget* picture : {chart, summary.window.child<QWidget>("AverageGeneChart")}) {
    EXPECT_EQ(Accessible(picture)->role(), QAccessible::Chart);
    EXPECT_EQ(Accessible(picture)->childCount(), 0) << "a nameless part of the picture";
  }
  const QString description = Spoken(chart, QAccessible::Description);
  for (const char* count : {"0: 0", "5: 999", "6: 1", "9: 0"}) {
    EXPECT_TRUE(description.contains(count)) << description.toStdString();
  }
}

}  // namespace
}  // namespace evo::test
