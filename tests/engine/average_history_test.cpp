// The history of the average gene: bounded merging that keeps the extremes, and the records the
// simulation makes over a population's life.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/simulation/simulation.h"
#include "support/fake_window.h"
#include "support/temp_dir.h"

namespace evo::test {
namespace {

TEST(AverageGeneHistory, MergesIntoBoundedSpansThatKeepTheirExtremes) {
  std::vector<double> averages;  // a slow wave with one brief high and one brief low
  for (int g = 1; g <= 100'000; ++g) averages.push_back(5 + std::sin(g / 5000.0));
  averages[54'320] = 8.75;
  averages[77'776] = 0.5;
  AverageGeneHistory history;
  for (const double average : averages) history.AddAfterGeneration(average);

  const std::vector<AverageSpan>& spans = history.Spans();
  EXPECT_LE(spans.capacity(), AverageGeneHistory::kMaxSpans);
  EXPECT_GT(spans.size(), AverageGeneHistory::kMaxSpans / 2);
  std::int64_t next = 1;
  for (const AverageSpan& span : spans) {  // each span holds what its generations held
    ASSERT_EQ(span.firstGeneration, next);
    next = span.lastGeneration + 1;
    const auto [lowest, highest] = std::minmax_element(averages.begin() + span.firstGeneration - 1,
                                                       averages.begin() + span.lastGeneration);
    EXPECT_EQ(span.lowest, *lowest);
    EXPECT_EQ(span.highest, *highest);
    EXPECT_EQ(span.first, averages[span.firstGeneration - 1]);
    EXPECT_EQ(span.last, averages[span.lastGeneration - 1]);
  }
  EXPECT_EQ(next, 100'001);

  // A new population after a long one: each generation is a span of its own again.
  history.Clear();
  for (const double average : {6.0, 6.5, 7.0}) history.AddAfterGeneration(average);
  ASSERT_EQ(history.Spans().size(), 3u);
  EXPECT_EQ(history.Spans()[1].firstGeneration, 2);
  EXPECT_EQ(history.Spans()[1].lastGeneration, 2);
  EXPECT_EQ(history.Spans()[1].first, 6.5);
}

// The window's design-time population of 100, its records against a count of the file's digits.
class PopulationHistory : public ::testing::Test {
 protected:
  PopulationHistory() {
    simulation.Initialise();
    simulation.CreatePopulation(window.texts, window.options);
  }

  static double AverageInFile() {
    int sum = 0;
    for (const char gene : FileBytes("critter.dat").substr(0, 1000)) sum += gene - '0';
    return sum / 1000.0;
  }
  const AverageGeneHistory& History() const { return simulation.History(); }

  TempDirectory directory;
  FakeWindow window;
  TwisterRandomSource random{7};
  Simulation simulation{window, random};
};

TEST_F(PopulationHistory, RecordsTheSummaryAverageAfterEachGenerationAndMutationPass) {
  simulation.InsertMutations(window.options);
  EXPECT_EQ(History().Spans().back().last, AverageInFile());
  std::vector<std::int64_t> generationsAtYield;
  window.onYield = [&] { generationsAtYield.push_back(History().GenerationsSinceCreation()); };
  for (int generation = 1; generation <= 4; ++generation) {
    window.counter = std::string("0");  // the counter the user can reset plays no part
    simulation.NextGeneration(window.options);
    EXPECT_EQ(History().Spans().back().last, AverageInFile()) << generation;
  }
  EXPECT_NE(History().Spans().back().last, 7) << "an unchanged population proves little";
  EXPECT_EQ(generationsAtYield, (std::vector<std::int64_t>{1, 2, 3, 4}));
  // The creation, then the mutation pass, both at generation 0.
  ASSERT_EQ(History().Spans().size(), 6u);
  EXPECT_EQ(History().Spans()[0].first, 7);
  EXPECT_EQ(History().Spans()[1].firstGeneration, 0);
}

// A creation starts the history and the record anew from the population it makes, at
// generation 0; an erase leaves neither.
TEST_F(PopulationHistory, CreationAndEraseStartANewRecord) {
  simulation.NextGeneration(window.options);
  // Strings made before they are assigned: GCC 12 optimising warns falsely (-Wrestrict) of a
  // literal assigned to these fields, as it does of the counter above.
  window.texts.startingGeneValue = std::string("4");
  simulation.CreatePopulation(window.texts, window.options);
  ASSERT_EQ(History().Spans().size(), 1u);
  EXPECT_EQ(History().Spans()[0].first, 4);
  EXPECT_EQ(History().Spans()[0].lastGeneration, 0);
  const std::vector<GenerationRow>& rows = simulation.Record().Rows();
  ASSERT_EQ(rows.size(), 1u) << "the rows of the population before";
  EXPECT_EQ(rows[0].event, RowEvent::Created);
  EXPECT_EQ(rows[0].settings.startingGeneValue, 4);
  simulation.NextGeneration(window.options);
  EXPECT_EQ(History().GenerationsSinceCreation(), 1);
  simulation.CloseAndDeleteFile();
  EXPECT_TRUE(History().Spans().empty());
  EXPECT_EQ(History().GenerationsSinceCreation(), 0);
  EXPECT_TRUE(simulation.Record().Rows().empty());
}

}  // namespace
}  // namespace evo::test
