// The engine's loops against the straightforward ones: the same seed must leave the same file,
// the same state and the same number of draws taken, step after step.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "engine/file/memory_store.h"
#include "engine/record/gene_summary.h"
#include "engine/simulation/draw_ahead.h"
#include "engine/simulation/simulation_impl.h"
#include "straightforward_simulation.h"
#include "support/fake_window.h"
#include "support/temp_dir.h"

namespace evo::test {
namespace {

// A twister that counts the draws taken from it, one at a time or in batches.
class CountingTwister final : public RandomSource {
 public:
  explicit CountingTwister(std::uint32_t seed) : twister_(seed) {}
  void SeedFromTimeOfDay(float seconds) override { twister_.SeedFromTimeOfDay(seconds); }
  float Draw() override {
    ++draws;
    return twister_.Draw();
  }
  void DrawMany(float* out, std::size_t count) override {
    draws += static_cast<long>(count);
    twister_.DrawMany(out, count);
  }
  long draws = 0;

 private:
  TwisterRandomSource twister_;
};

TEST(TwisterTest, GivesTheStandardTwistersOutputsOneAtATimeAndInBatches) {
  for (const std::uint32_t seed : {0u, 5489u, 0xffffffffu}) {
    std::mt19937 standard(seed);
    Mt19937 twister(seed);
    TwisterRandomSource source(seed);
    // Batches that end inside and across the refills of the state, among single draws.
    for (const std::size_t batch : {1, 700, 1, 3, 1300, 624}) {
      std::vector<float> draws(batch);
      source.DrawMany(draws.data(), batch);
      for (std::size_t i = 0; i < batch; ++i) {
        const std::uint32_t expected = static_cast<std::uint32_t>(standard());
        ASSERT_EQ(twister(), expected);
        ASSERT_EQ(draws[i], static_cast<float>(expected >> 8) * 0x1p-24f);
      }
      ASSERT_EQ(source.Draw(), static_cast<float>(standard() >> 8) * 0x1p-24f);
      twister();
    }
  }
}

// The fractions of a block worked out together, four at a time where the processor can, against
// one at a time: twister draws, an odd number of them, and coarse draws whose millionths lie on
// either side of a whole one.
TEST(PickFractionTest, WorksOutABlockExactlyAsOnePickAtATime) {
  std::vector<float> fine;
  std::vector<float> coarse;
  TwisterRandomSource random(7);
  for (int i = 0; i < 10001; ++i) {
    fine.push_back(random.Draw());
    coarse.push_back(random.Draw());
  }
  for (const int millionths : {0, 1, 3, 500000, 123457, 999999}) {
    const float near = static_cast<float>(millionths) / 1e6f;
    for (const float edge : {std::nextafter(near, 0.0f), near, std::nextafter(near, 1.0f)}) {
      fine.push_back(edge);
      coarse.push_back(edge);
    }
  }
  std::vector<double> fractions(fine.size());
  FineFractions(fine.data(), coarse.data(), fine.size(), fractions.data());
  for (std::size_t i = 0; i < fine.size(); ++i) {
    ASSERT_EQ(fractions[i], FineFraction(fine[i], coarse[i])) << coarse[i];
  }
}

struct Case {
  const char* name;
  const char* size;
  bool exchange;
  bool mutation;
  const char* startValue = "7";
  const char* goodFactor = ".1";
  const char* mutations = "10";
  std::int16_t haltAfterFirstPass = kNoHalt;  // what the first mutation pass must detect
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name << (c.exchange ? " with exchange" : "") << (c.mutation ? " with mutation" : "");
}

// One population run by one kind of loops, over its own store.
template <typename Loops, typename Store = PopulationFile>
struct Side {
  Side(const Case& c, const std::string& path) : simulation(window, random, path) {
    window.options.sexualExchange = c.exchange;
    window.options.autoMutation = c.mutation;
    window.texts.populationSize = c.size;
    window.texts.startingGeneValue = c.startValue;
    window.texts.goodMutationProbability = c.goodFactor;
    window.texts.mutationsPerCycle = c.mutations;
    simulation.Initialise();
  }
  void Scramble() { Loops(simulation, window, random).Scramble(); }
  void NextGeneration() { Loops(simulation, window, random).NextGeneration(window.options); }

  FakeWindow window;
  CountingTwister random{4711};
  BasicSimulation<Store> simulation;
};

// The engine's own operations, called as the straightforward ones are.
template <typename Store>
struct EngineLoops {
  EngineLoops(BasicSimulation<Store>& simulation, WindowPort&, RandomSource&)
      : simulation_(simulation) {}
  void Scramble() { simulation_.Scramble(); }
  void NextGeneration(const Options& options) { simulation_.NextGeneration(options); }
  BasicSimulation<Store>& simulation_;
};

class LoopEquivalenceTest : public ::testing::TestWithParam<Case> {
 protected:
  void ExpectSame(const std::string& step) {
    SCOPED_TRACE(step);
    const std::string expected = FileBytes("reference.dat");
    ASSERT_EQ(FileBytes("engine.dat"), expected);
    ASSERT_EQ(inMemory.simulation.File().Bytes(), expected);
    ExpectSameRun(engine);
    ExpectSameRun(inMemory);
  }

  template <typename Engine>
  void ExpectSameRun(const Engine& side) {
    const SimulationState& e = side.simulation.state;
    const SimulationState& r = reference.simulation.state;
    EXPECT_EQ(side.random.draws, reference.random.draws);
    EXPECT_EQ(side.window.counter, reference.window.counter);
    EXPECT_EQ(side.window.yields, reference.window.yields);
    EXPECT_EQ(e.StrCritter, r.StrCritter);
    EXPECT_EQ(e.Str2Critter, r.Str2Critter);
    EXPECT_EQ(e.SngNum, r.SngNum);
    EXPECT_EQ(e.LngActual, r.LngActual);
    EXPECT_EQ(e.IntHalt, r.IntHalt);
  }

  TempDirectory directory;
  Side<EngineLoops<PopulationFile>> engine{GetParam(), "engine.dat"};
  // The engine over the store of repeated runs, which examines the marks it keeps.
  Side<EngineLoops<MemoryStore>, MemoryStore> inMemory{GetParam(), "memory.dat"};
  Side<reference::StraightforwardSimulation<PopulationFile>> reference{GetParam(), "reference.dat"};
};

TEST_P(LoopEquivalenceTest, GivesTheSameFileStateAndDrawsAsDrawingOneAtATime) {
  const auto each = [this](auto step) {
    step(engine);
    step(inMemory);
    step(reference);
  };
  each(
      [](auto& side) { side.simulation.CreatePopulation(side.window.texts, side.window.options); });
  each([](auto& side) { side.Scramble(); });
  ExpectSame("first mutation pass");
  EXPECT_EQ(engine.simulation.state.IntHalt, GetParam().haltAfterFirstPass);
  each([](auto& side) { side.NextGeneration(); });
  ExpectSame("generation after the first pass");
  each([](auto& side) { side.simulation.GetParameters(side.window.texts); });
  for (int generation = 1; generation <= 3; ++generation) {
    each([](auto& side) { side.NextGeneration(); });
    ExpectSame("generation " + std::to_string(generation));
  }
  each([](auto& side) { side.Scramble(); });
  each([](auto& side) { side.NextGeneration(); });
  ExpectSame("a pass, then a generation");
  // Selection keeps its survival test from one generation to the next: not once the divisor
  // changed.
  each([](auto& side) {
    side.simulation.state.SngDenom = 120.0f;
    side.NextGeneration();
  });
  ExpectSame("a generation with another divisor of the survival chance");
}

// The sizes around the edges and up to a large population, with exchange and automatic mutation
// each on and off; and a perfect and an all-bad genome made by the first pass. The loops over a
// pool in the caches and those that fetch ahead both take part: at 20 000 critters the mutation
// pass is of the first kind and the generation's pool of 40 000 records of the second.
std::vector<Case> Cases() {
  std::vector<Case> cases;
  static const char* const kNames[] = {"N0", "N1", "N2", "N21", "N1000", "N20000", "N100000"};
  static const char* const kSizes[] = {"0", "1", "2", "21", "1000", "20000", "100000"};
  for (std::size_t s = 0; s < std::size(kSizes); ++s) {
    for (const bool exchange : {false, true}) {
      for (const bool mutation : {false, true}) {
        cases.push_back({kNames[s], kSizes[s], exchange, mutation});
      }
    }
  }
  // Three mutations a critter every pass spread the gene sums and bring '0' genes: the deaths
  // are then foreseen wrongly now and again, and the fetches ahead miss.
  cases.push_back({"Spread", "1000", false, true, "5", ".5", "3000"});
  cases.push_back({"Spread", "1000", true, true, "5", ".5", "3000"});
  // A mutation a critter spreads the sums without a '0' gene: selection in memory then leaves
  // out the draws that spare every critter in the pool, and must still take their draws.
  cases.push_back({"SpreadWithoutZero", "1000", true, true, "5", ".5", "1000"});
  cases.push_back({"Perfect", "2", true, true, "8", "1", "60", kPerfectGenome});
  cases.push_back({"AllBad", "1", false, true, "1", "0", "60", kAllBadGenome});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Populations, LoopEquivalenceTest, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name) +
                                  (info.param.exchange ? "Exchange" : "") +
                                  (info.param.mutation ? "Mutation" : "");
                         });

// Bytes of every kind: digits, their neighbours '/' and ':', blanks, letters, and bytes with the
// high bit set, whose low bits are those of digits.
std::string MixedBytes(std::size_t size) {
  const std::string kinds = "0123456789/: aZ\xb0\xb5\xb9\xff";
  std::mt19937 generator(99);
  std::string bytes(size, ' ');
  for (char& byte : bytes) byte = kinds[generator() % kinds.size()];
  return bytes;
}

TEST(GeneCountTest, CountsAsReadingByteByByteAndStopsAtTheEndOfTheFile) {
  TempDirectory directory;
  // Not a whole number of records, and long enough for many rounds of the wide count.
  WriteFileBytes("critter.dat", MixedBytes(20'003));
  PopulationFile file;
  file.Open("critter.dat");
  for (const std::int32_t size : {-3, 0, 1, 7, 1'000, 1'999, 2'000, 2'001, 2'500}) {
    SCOPED_TRACE(size);
    const GeneSummary bulk = SummariseGenes(file, size);
    const GeneSummary byByte = reference::SummariseGenesByteByByte(file, size);
    EXPECT_EQ(bulk.counts, byByte.counts);
    EXPECT_EQ(bulk.average, byByte.average);
  }
  // The largest size the window takes would be ten thousand million positions: only those in
  // the file are visited, and the rest still weigh in the divisor.
  const GeneSummary whole = reference::SummariseGenesByteByByte(file, 2'001);
  const GeneSummary largest = SummariseGenes(file, kLargestPopulation);
  EXPECT_EQ(largest.counts, whole.counts);
  EXPECT_DOUBLE_EQ(largest.average * kLargestPopulation, whole.average * 2'001);
}

// A population of one digit throughout, as creation leaves it: 1'001 critters hold 10'010 genes,
// more than a round of the wide count and no whole number of its blocks.
TEST(GeneCountTest, CountsEveryGeneOfALargePopulationOfOneDigit) {
  TempDirectory directory;
  for (int digit = 0; digit <= 9; ++digit) {
    WriteFileBytes("critter.dat", std::string(10'010, static_cast<char>('0' + digit)));
    PopulationFile file;
    file.Open("critter.dat");
    const GeneSummary summary = SummariseGenes(file, 1'001);
    std::array<double, 10> expected{};
    expected[static_cast<std::size_t>(digit)] = 10'010;
    EXPECT_EQ(summary.counts, expected) << digit;
    EXPECT_EQ(summary.average, digit);
  }
}

}  // namespace
}  // namespace evo::test
