// The history of the average gene: bounded merging that keeps the extremes, and the simulation's
// records of it over the life of a population.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <vector>

#include "engine/average_gene_history.h"
#include "engine/simulation.h"
#include "support/fake_window.h"
#include "support/temp_dir.h"

namespace evo::test {
namespace {

TEST(AverageGeneHistory, MergesIntoBoundedEvenSpansThatKeepEveryExtreme) {
  // A slow wave with one brief high and one brief low far apart.
  constexpr std::int64_t kGenerations = 100'000;
  std::vector<double> averages;
  for (std::int64_t g = 1; g <= kGenerations; ++g) {
    averages.push_back(5 + std::sin(static_cast<double>(g) / 5000.0));
  }
  averages[54'320] = 8.75;
  averages[77'776] = 0.5;
  AverageGeneHistory history;
  history.AddAfterMutations(4.5);  // before the first generation: it shares generation 0
  for (const double average : averages) history.AddAfterGeneration(average);

  const std::vector<AverageSpan>& spans = history.Spans();
  EXPECT_EQ(history.GenerationsSinceCreation(), kGenerations);
  EXPECT_LE(spans.capacity(), AverageGeneHistory::kMaxSpans);
  EXPECT_GT(spans.size(), AverageGeneHistory::kMaxSpans / 2);
  EXPECT_EQ(spans.front().firstGeneration, 0);
  EXPECT_EQ(spans.front().first, 4.5);
  EXPECT_EQ(spans.back().lastGeneration, kGenerations);
  EXPECT_EQ(spans.back().last, averages.back());
  std::int64_t records = 0;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const AverageSpan& span = spans[i];
    records += span.records;
    if (i + 1 < spans.size()) {
      EXPECT_EQ(span.records, spans.front().records) << i;  // even spacing
      EXPECT_EQ(spans[i + 1].firstGeneration, span.lastGeneration + 1) << i;
    }
    // Each span's range is exactly that of the generations it covers (generation 0 aside).
    const auto begin = averages.begin() + std::max<std::int64_t>(span.firstGeneration, 1) - 1;
    const auto end = averages.begin() + span.lastGeneration;
    auto [lowest, highest] = std::minmax_element(begin, end);
    EXPECT_EQ(span.lowest, span.firstGeneration == 0 ? 4.5 : *lowest) << i;
    EXPECT_EQ(span.highest, *highest) << i;
    EXPECT_EQ(span.last, *(end - 1)) << i;
  }
  EXPECT_EQ(records, kGenerations + 1);
  const auto highest = std::max_element(spans.begin(), spans.end(),
                                        [](auto& a, auto& b) { return a.highest < b.highest; });
  const auto lowest = std::min_element(spans.begin(), spans.end(),
                                       [](auto& a, auto& b) { return a.lowest < b.lowest; });
  EXPECT_EQ(highest->highest, 8.75);
  EXPECT_EQ(lowest->lowest, 0.5);
}

// A real population whose genes change: the engine's records against a count of the file.
class PopulationHistory : public ::testing::Test {
 protected:
  PopulationHistory() {
    window.boxes[ParameterBox::PopSize] = "21";
    window.boxes[ParameterBox::StartNum] = "5";
    window.boxes[ParameterBox::GoodFactor] = ".5";
    window.boxes[ParameterBox::MutateNum] = "40";
    simulation.Initialise();
  }

  // The average of the live critters' genes as the file holds them, digit by digit.
  double AverageInFile() const {
    const std::string bytes = FileBytes("critter.dat").substr(0, 210);
    const int sum =
        std::accumulate(bytes.begin(), bytes.end(), 0, [](int s, char c) { return s + c - '0'; });
    return sum / 210.0;
  }

  double LastRecorded() const { return simulation.History().Spans().back().last; }

  TempDirectory directory;
  FakeWindow window;
  TwisterRandomSource random{7};
  Simulation simulation{window, random};
};

TEST_F(PopulationHistory, RecordsTheAverageAfterEachGenerationAndMutationPass) {
  simulation.CreatePopulation();
  EXPECT_TRUE(simulation.History().Spans().empty());
  simulation.GetParameters();
  simulation.InsertMutations();
  EXPECT_EQ(simulation.History().GenerationsSinceCreation(), 0);
  EXPECT_EQ(LastRecorded(), AverageInFile());

  std::vector<std::int64_t> generationsAtYield;
  window.onYield = [&] {
    generationsAtYield.push_back(simulation.History().GenerationsSinceCreation());
  };
  std::vector<double> recorded = {LastRecorded()};
  for (int generation = 1; generation <= 4; ++generation) {
    simulation.NextGeneration();
    EXPECT_EQ(LastRecorded(), AverageInFile()) << generation;
    recorded.push_back(LastRecorded());
  }
  EXPECT_EQ(generationsAtYield, (std::vector<std::int64_t>{1, 2, 3, 4}));
  EXPECT_EQ(simulation.History().Spans().size(), 5u);
  // The averages did move, so equality above is no accident of an unchanging population.
  EXPECT_NE(std::adjacent_find(recorded.begin(), recorded.end(), std::not_equal_to<>()),
            recorded.end());
  // The counter the user can reset is no part of it.
  window.counter = "0";
  simulation.NextGeneration();
  EXPECT_EQ(simulation.History().GenerationsSinceCreation(), 5);
}

TEST_F(PopulationHistory, CreationAndEraseStartANewRecord) {
  simulation.CreatePopulation();
  simulation.GetParameters();
  simulation.NextGeneration();
  simulation.NextGeneration();

  window.boxes[ParameterBox::StartNum] = "";  // refused: the population and its record stay
  EXPECT_THROW(simulation.CreatePopulation(), EngineError);
  EXPECT_EQ(simulation.History().GenerationsSinceCreation(), 2);

  window.boxes[ParameterBox::StartNum] = "3";
  simulation.CreatePopulation();
  EXPECT_TRUE(simulation.History().Spans().empty());
  EXPECT_EQ(simulation.History().GenerationsSinceCreation(), 0);
  simulation.NextGeneration();
  ASSERT_EQ(simulation.History().Spans().size(), 1u);
  EXPECT_EQ(simulation.History().Spans().front().firstGeneration, 1);

  simulation.CloseAndDeleteFile();
  EXPECT_TRUE(simulation.History().Spans().empty());
  EXPECT_EQ(simulation.History().GenerationsSinceCreation(), 0);
}

}  // namespace
}  // namespace evo::test
