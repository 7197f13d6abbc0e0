// The charts of repeated runs: the histogram's bins and bars, its marks of the median and the
// middle half, its texts clear of one another in any width and on paper; the course chart's
// description.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>

#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "views/charts/batch_words.h"
#include "views/charts/chart_pictures.h"
#include "views/charts/runs_course_chart.h"
#include "views/charts/runs_histogram.h"

namespace evo::test {
namespace {

RunResult Ended(std::int64_t generations, RunEnd end) {
  return {generations, end, 0, {}};
}

// Four runs that ended in a perfect genome, two in an all-bad one, one at the limit.
RunGroup UnevenGroup(double value) {
  RunGroup group;
  group.value = value;
  group.runs = {Ended(10, RunEnd::PerfectGenome), Ended(12, RunEnd::AllBadGenome),
                Ended(10, RunEnd::PerfectGenome), Ended(12, RunEnd::PerfectGenome),
                Ended(26, RunEnd::PerfectGenome), Ended(30, RunEnd::AllBadGenome),
                Ended(100, RunEnd::LimitReached)};
  group.tally = Tally(group.runs);
  return group;
}

BatchRequest Compared(std::vector<double> values) {
  BatchRequest request;
  request.compared = Setting::GoodMutationProbability;
  request.values = std::move(values);
  request.base = {1000, .1f, 10, 50, 7, {}};
  request.runsPerValue = 7;
  request.generationLimit = 100;
  request.seed = 2026;
  return request;
}

void Show(RunsHistogram& histogram, const BatchRequest& request) {
  std::vector<RunGroup> groups;
  QStringList names;
  QStringList values;
  for (const double value : request.values) {
    groups.push_back(UnevenGroup(value));
    names << GroupName(request, groups.back());
    values << ValueText(value);
  }
  histogram.SetGroups(groups, names, values);
}

// Bins one generation wide from 10 to 30: two perfect runs at 10; one perfect and one all-bad
// stacked at 12; one perfect at 26, one all-bad at 30, and the run at the limit apart.
TEST(RunsHistogramTest, StacksEachEndingInItsBinAndMarksTheMiddleHalf) {
  RunsHistogram histogram;
  Show(histogram, Compared({.05}));
  const RunsHistogram::Layout layout =
      histogram.LayOut(QRect(0, 0, 600, 400), histogram.fontMetrics());
  ASSERT_EQ(layout.panels.size(), 1u);
  const RunsHistogram::Panel& panel = layout.panels[0];
  ASSERT_EQ(panel.bars.size(), 21u);
  const auto bar = [&panel](std::int64_t generation) {
    return panel.bars[static_cast<std::size_t>(generation - 10)];
  };
  EXPECT_EQ(bar(10).firstGeneration, 10);
  const int one = bar(26).perfect.height();
  ASSERT_GT(one, 0);
  EXPECT_NEAR(bar(10).perfect.height(), 2 * one, 1);
  EXPECT_EQ(bar(10).allBad.height(), 0);
  EXPECT_NEAR(bar(12).perfect.height(), one, 1);
  EXPECT_NEAR(bar(12).allBad.height(), one, 1);
  EXPECT_EQ(bar(12).allBad.bottom() + 1, bar(12).perfect.top()) << "stacked on the perfect runs";
  EXPECT_EQ(bar(30).perfect.height(), 0);
  EXPECT_NEAR(bar(30).allBad.height(), one, 1);
  for (const std::int64_t empty : {11, 13, 25, 29}) {
    EXPECT_EQ(bar(empty).perfect.height() + bar(empty).allBad.height(), 0) << empty;
  }
  EXPECT_NEAR(panel.limitBar.height(), one, 1);
  EXPECT_GT(panel.limitBar.left(), bar(30).perfect.right()) << "apart from the bins";
  // Median 12, quartiles 10.5 and 22.5 of the runs that ended.
  EXPECT_NEAR(panel.median, (bar(12).perfect.left() + bar(13).perfect.left()) / 2, 2);
  EXPECT_LT(panel.middleHalf.left(), panel.median);
  EXPECT_GT(panel.middleHalf.right(), bar(22).perfect.left());
  EXPECT_LT(panel.middleHalf.right(), bar(23).perfect.right());
}

TEST(RunsHistogramTest, DescribesEachGroupWithItsUnevenEndings) {
  RunsHistogram histogram;
  Show(histogram, Compared({.05, .2}));
  histogram.Describe();
  const QString group =
      "7 runs, 4 ended with a perfect genome, 2 with an all bad genome, 1 at the limit; "
      "generations from 10 to 30, median 12, quartiles 10.5 and 22.5, mean 16.7";
  EXPECT_EQ(histogram.accessibleDescription(),
            "good mutation probability .05: " + group + ". good mutation probability .2: " + group);
}

// Bins wider than a generation start at a multiple of their width, so that their edges fall on
// round generations as the ticks do, and each holds its own runs.
TEST(RunsHistogramTest, WideBinsStartAtARoundGenerationAndHoldTheirRuns) {
  RunGroup group;
  group.runs = {Ended(1234, RunEnd::PerfectGenome), Ended(1987, RunEnd::AllBadGenome)};
  group.tally = Tally(group.runs);
  RunsHistogram histogram;
  histogram.SetGroups({group}, {""}, {""});
  const RunsHistogram::Layout layout =
      histogram.LayOut(QRect(0, 0, 600, 400), histogram.fontMetrics());
  ASSERT_EQ(layout.panels.size(), 1u);
  const auto& bars = layout.panels[0].bars;
  ASSERT_GE(bars.size(), 2u);
  const std::int64_t first = bars[0].firstGeneration;
  const std::int64_t width = bars[1].firstGeneration - first;
  ASSERT_GT(width, 1);
  EXPECT_EQ(first % width, 0) << first << " is not a multiple of " << width;
  const auto holding = [&](std::int64_t generation) {
    return bars.at(static_cast<std::size_t>((generation - first) / width));
  };
  EXPECT_GT(holding(1234).perfect.height(), 0);
  EXPECT_GT(holding(1987).allBad.height(), 0);
}

// However many values and however narrow the chart, no text stands over another or beyond the
// chart: a panel's title shortens to its value, the generations' labels thin out.
TEST(RunsHistogramTest, NoTextOverlapsAnotherInAnyWidth) {
  for (const std::vector<double>& values :
       {std::vector<double>{.05}, {.05, .1, .2}, {.05, .1, .2, .3, .4, .5, .6, .7, .8, .9}}) {
    for (const int width : {300, 480, 900}) {
      RunsHistogram histogram;
      Show(histogram, Compared(values));
      const QRect area(0, 0, width, 280);
      const std::vector<RunsHistogram::Text> texts = histogram.Texts(area, histogram.fontMetrics());
      for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_TRUE(area.contains(texts[i].rect)) << texts[i].text.toStdString() << " " << width;
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
          EXPECT_FALSE(texts[i].rect.intersects(texts[j].rect))
              << texts[i].text.toStdString() << " over " << texts[j].text.toStdString() << " in "
              << values.size() << " panels " << width << " wide";
        }
      }
    }
  }
}

// On paper: the title, both axes' titles, each panel named by its value whole, the ticks, and a
// caption that names what was compared.
// The texts of a chart's picture saved as SVG, as a reader of the paper sees them.
QStringList TextsOnPaper(const Chart& chart, const QStringList& caption, const QString& name) {
  const TempDirectory directory;
  ScriptedDialogs dialogs;
  dialogs.savePaths = {name + ".svg"};
  SaveImageAs(chart, caption, name, dialogs);
  QFile svg(name + ".svg");
  EXPECT_TRUE(svg.open(QIODevice::ReadOnly)) << name.toStdString();
  const QString picture = QString::fromUtf8(svg.readAll());
  QStringList texts;
  static const QRegularExpression kText(R"(<text[^>]*>([^<]*)</text>)");
  for (const QRegularExpressionMatch& match : kText.globalMatch(picture)) {
    texts << match.captured(1).trimmed();
  }
  return texts;
}

TEST(RunsHistogramTest, ItsPictureNamesWhatItShows) {
  const BatchRequest request = Compared({.05, .1, .2});
  RunsHistogram histogram;
  Show(histogram, request);
  const QStringList texts = TextsOnPaper(histogram, BatchCaption(request), "repeated-runs");
  const QString all = texts.join(' ');
  for (const char* expected :
       {"Generations to the end of each run", "runs", "generations to the end",
        "good mutation probability .05", "good mutation probability .1",
        "good mutation probability .2", "perfect genome", "all bad genome", "limit reached",
        "median and middle half of the runs that ended", "Compared: good mutation probability",
        ".05, .1, .2.", "from seed 2026", "generation 100."}) {
    EXPECT_TRUE(all.contains(expected)) << expected << " not in: " << all.toStdString();
  }
  EXPECT_TRUE(texts.contains("10") || texts.contains("20")) << "a tick of the generations";
  EXPECT_FALSE(all.contains("…")) << "nothing cut short on paper";
  EXPECT_FALSE(all.contains("good mutation probability .1 (bad"))
      << "the compared setting's base value is not stated";
}

// On paper the strip of runs going is shorter than on screen: no axis title is cut short.
TEST(RunsCourseChartTest, ItsPictureNamesBothAxesWhole) {
  RunsCourseChart chart;
  chart.SetCourses({{{0, 100, 7, 7, 7}, {20, 40, 7.25, 7.2, 7.5}}, {{0, 100, 7, 7, 7}}},
                   "good mutation probability", {".05", ".2"});
  const QStringList texts =
      TextsOnPaper(chart, BatchCaption(Compared({.05, .2})), "repeated-runs-course");
  for (const char* expected : {"average gene", "generation", ".05", ".2"}) {
    EXPECT_TRUE(texts.contains(expected))
        << expected << " not in: " << texts.join('|').toStdString();
  }
  EXPECT_FALSE(texts.join(' ').contains("…")) << "nothing cut short on paper";
}

TEST(RunsCourseChartTest, DescribesTheCourseOfEachValue) {
  RunsCourseChart chart;
  chart.SetCourses({{{0, 100, 7, 7, 7}, {20, 40, 7.25, 7.2, 7.5}}, {{0, 100, 7, 7, 7}}},
                   "good mutation probability", {".05", ".2"});
  chart.Describe();
  EXPECT_EQ(chart.accessibleDescription(),
            "good mutation probability .05: the median average gene went from 7.00 to 7.25 at "
            "generation 20, with 40 of 100 runs still going. good mutation probability .2: the "
            "median average gene went from 7.00 to 7.00 at generation 0, with 100 of 100 runs "
            "still going");
}

}  // namespace
}  // namespace evo::test
