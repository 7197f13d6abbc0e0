// The generation cycle: mutation, reproduction, selection, counter and yield.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "checking_store.h"
#include "engine/simulation/simulation_impl.h"
#include "engine/simulation/survival.h"
#include "engine_fixture.h"

namespace evo::test {
namespace {

class GenerationTest : public EngineTest {
 protected:
  GenerationTest() {
    window.options.autoMutation = false;
    window.options.sexualExchange = false;
  }

  // A population of the given genomes, loaded as the population of the next generation.
  void Population(std::initializer_list<std::string> genomes) {
    Create(std::to_string(genomes.size()), "5");
    WriteRecords(genomes);
  }
};

TEST_F(GenerationTest, ExchangeJoinsTheFirstHalfOfOneParentToTheSecondHalfOfAnother) {
  window.options.sexualExchange = true;
  const struct {
    std::string a, b, offspring;
  } cases[] = {{"1111122222", "3333344444", "1111144444"},
               {"9999911111", "1111199999", "9999999999"}};
  for (const auto& c : cases) {
    Population({c.a, c.b});
    ScriptPick(random, 1, 2);  // offspring 1: parent A, then parent B
    ScriptPick(random, 2, 2);
    ScriptPick(random, 2, 2);  // offspring 2: B's first half, A's second half
    random.script.insert(random.script.end(), {0.0f, 0.4f});  // record 1 of 2, not 2 of 3
    ScriptExamination(random, 4, 4, kDies);                   // the last record dies in place
    ScriptExamination(random, 2, 3, kDies);                   // offspring 1 moves into the hole
    random.draws = 0;
    simulation.NextGeneration(window.options);

    EXPECT_EQ(FileText(), c.a + c.offspring + c.offspring + c.b.substr(0, 5) + c.a.substr(5));
    EXPECT_EQ(random.draws, 2 * 4 + 2 * 3);
    EXPECT_TRUE(random.script.empty());
    EXPECT_EQ(simulation.state.LngActual, 2);
    EXPECT_EQ(simulation.state.IntHalt, kNoHalt);  // exchange detects nothing
    EXPECT_EQ(simulation.state.Str2Critter, c.a);
  }
}

TEST_F(GenerationTest, WithoutExchangeAnOffspringIsACopyAndSurvivorsStayInThePool) {
  Population({"1111122222", "3333344444"});
  ScriptPick(random, 2, 2);
  ScriptPick(random, 1, 2);
  ScriptExamination(random, 3, 4, kSurvives);
  ScriptExamination(random, 3, 4, kDies);  // examined again, dies: record 4 takes its place
  ScriptExamination(random, 3, 3, kDies);
  simulation.NextGeneration(window.options);

  EXPECT_EQ(FileText(),
            "1111122222"
            "3333344444"
            "1111122222"
            "1111122222");
  EXPECT_EQ(random.draws, 2 * 2 + 3 * 3);
  EXPECT_TRUE(random.script.empty());
  EXPECT_EQ(simulation.state.SngNum, 15.0f);  // the gene sum of the last critter examined
}

// The quotient is compared in double precision: for 70 / 95 the nearest float lies below it, for
// 90 / 95 above it.
TEST_F(GenerationTest, SurvivalNeedsADrawBelowTheGeneSumOverNinetyFive) {
  random.afterScript = kDies;  // a wrong survival ends in a count of draws, not an endless loop
  for (const std::string genome : {"7777777777", "9999999999"}) {
    const double chance = (genome[0] - '0') * 10 / 95.0;
    const float nearest = static_cast<float>(chance);
    const float survives = nearest < chance ? nearest : std::nextafter(nearest, 0.0f);
    const float dies = nearest < chance ? std::nextafter(nearest, 1.0f) : nearest;

    Population({genome});
    ScriptPick(random, 1, 1);
    ScriptExamination(random, 2, 2, survives);
    ScriptExamination(random, 1, 2, dies);  // and the pool is down to one
    random.draws = 0;
    simulation.NextGeneration(window.options);
    EXPECT_EQ(random.draws, 2 + 2 * 3) << genome;
    EXPECT_TRUE(random.script.empty()) << genome;
  }
}

TEST_F(GenerationTest, ACritterWithAZeroDiesWhenExaminedAndOnlyThen) {
  for (const bool examined : {true, false}) {
    Population({"9999999990", "9999999999"});
    ScriptPick(random, 1, 2);
    ScriptPick(random, 2, 2);
    if (examined) {
      ScriptExamination(random, 1, 4, kSurvives);  // the best draw, still dead
      ScriptExamination(random, 3, 3, kSurvives);  // its offspring too
    } else {
      ScriptExamination(random, 4, 4, kDies);
      ScriptExamination(random, 3, 3, kDies);
    }
    simulation.NextGeneration(window.options);
    EXPECT_TRUE(random.script.empty());
    EXPECT_EQ(Record(1), examined ? "9999999999" : "9999999990");
    EXPECT_EQ(Record(2), "9999999999");
  }
}

TEST_F(GenerationTest, DrawsTwoPerOffspringFourWithExchangeAndThreePerExamination) {
  Create("50", "1");  // every examination with the draw .5 kills
  window.texts.mutationsPerCycle = "10";
  simulation.GetParameters(window.texts);
  const struct {
    bool mutation, exchange;
    long draws;
  } cases[] = {{false, false, 50 * 2 + 50 * 3},
               {false, true, 50 * 4 + 50 * 3},
               {true, true, 10 * 4 + 50 * 4 + 50 * 3}};
  for (const auto& c : cases) {
    window.options.autoMutation = c.mutation;
    window.options.sexualExchange = c.exchange;
    random.draws = 0;
    simulation.NextGeneration(window.options);
    EXPECT_EQ(random.draws, c.draws) << "mutation " << c.mutation << ", exchange " << c.exchange;
  }
}

TEST_F(GenerationTest, CountsInTheCaptionAndYieldsOnceAtTheEnd) {
  random.afterScript = kDies;
  Create("3", "7");
  window.onYield = [&] {
    EXPECT_EQ(simulation.state.LngActual, 3);
    EXPECT_EQ(window.counter, " " + std::to_string(window.yields));
  };
  EXPECT_EQ(window.counter, "0");
  for (const char* counter : {" 1", " 2", " 3"}) {
    simulation.NextGeneration(window.options);
    EXPECT_EQ(window.counter, counter);
  }
  EXPECT_EQ(window.yields, 3);

  window.onYield = nullptr;
  window.counter = "41abc";
  simulation.NextGeneration(window.options);
  EXPECT_EQ(window.counter, " 42");
}

TEST_F(GenerationTest, NoCritterMeansNoDrawNoRecordButACountAndAYield) {
  window.options.autoMutation = true;
  window.options.sexualExchange = true;
  Create("0", "7");
  simulation.NextGeneration(window.options);
  EXPECT_EQ(random.draws, 0);
  EXPECT_EQ(FileText(), "");
  EXPECT_EQ(window.counter, " 1");
  EXPECT_EQ(window.yields, 1);
}

TEST_F(GenerationTest, AStopReasonOnEntryLeavesOnlyTheMutationPass) {
  random.afterScript = kDies;
  Create("10", "7");
  for (const std::int16_t halt : {kPerfectGenome, kAllBadGenome, kHaltRequested}) {
    for (const bool mutation : {true, false}) {
      window.options.autoMutation = mutation;
      simulation.state.IntHalt = halt;
      random.draws = 0;
      const std::string before = FileText();
      simulation.NextGeneration(window.options);

      EXPECT_EQ(random.draws, mutation ? 10 * 4 : 0);
      EXPECT_EQ(FileText().size(), 100u);  // no offspring
      if (!mutation) {
        EXPECT_EQ(FileText(), before);
      }
      EXPECT_EQ(simulation.state.IntHalt, halt);
      EXPECT_EQ(window.counter, "0");
      EXPECT_EQ(window.yields, 0);
    }
  }
  EXPECT_EQ(Record(10), "7777777770");  // the draw .99 makes every mutation hit its last gene, bad
}

TEST_F(GenerationTest, ALoweredSizeBreedsFromTheFirstRecordsOnly) {
  TwisterRandomSource twister(11);
  Simulation real(window, twister);
  real.Initialise();
  window.options.sexualExchange = true;
  window.texts.populationSize = "100";
  real.CreatePopulation(window.texts, window.options);
  for (std::int64_t k = 51; k <= 100; ++k) real.File().WriteRecord(k, "1111111111");

  window.texts.populationSize = "50";
  real.GetParameters(window.texts);
  real.NextGeneration(window.options);
  EXPECT_EQ(FileText(), std::string(1000, '7'));
  EXPECT_EQ(real.state.LngActual, 50);
}

// The lane-wise sum against the rule, gene by gene: a byte that is no digit counts 0 and is no
// '0'. Every byte value at every position, among digits: the digits' neighbours, the bytes whose
// low bits are a digit's and those with the high bit set among them.
TEST(ExaminationTest, SumsLaneWiseAsGeneByGeneWhateverByteAGeneHolds) {
  std::mt19937 generator(17);
  for (std::size_t position = 0; position < kGenes; ++position) {
    for (int byte = 0; byte <= 0xff; ++byte) {
      Genome genome;
      for (char& gene : genome) gene = static_cast<char>('0' + generator() % 10);
      genome[position] = static_cast<char>(byte);
      int sum = 0;
      for (const char gene : genome) sum += GeneValue(gene);
      const std::string text(genome, kGenes);
      const Examination examined = Examine(genome);
      ASSERT_EQ(examined.geneSum, sum) << text;
      ASSERT_EQ(examined.zeroGene, text.find('0') != std::string::npos) << text;
    }
  }
}

// The float thresholds against the rule as the straightforward loop states it, a comparison in
// double precision, for every gene sum at the float draws on either side of its chance.
TEST(SurvivalTestTest, KillsWithTheSameDrawsAsTheComparisonInDoublePrecision) {
  const SurvivalTest survival(95.0f);
  for (int sum = 0; sum <= 90; ++sum) {
    const double chance = static_cast<double>(static_cast<float>(sum)) / 95.0f;
    float draw = static_cast<float>(chance);
    for (int i = 0; i < 4; ++i) draw = std::nextafter(draw, 0.0f);
    for (int i = 0; i < 8; ++i, draw = std::nextafter(draw, 1.0f)) {
      ASSERT_EQ(draw >= survival.Threshold({sum, false}), draw >= chance) << sum << " " << draw;
      ASSERT_GE(draw, survival.Threshold({sum, true})) << "a gene '0' dies whatever the draw";
    }
  }
}

// The bound below which selection need not look at a record, against every mark between its ends,
// for divisors of either sign: no draw below it kills any of those critters, and a draw at it
// kills one.
TEST(SurvivalTestTest, TheLeastThresholdOfARangeOfMarksIsTheHighestDrawThatSparesThemAll) {
  std::vector<RecordMark> marks;  // as records carry them, a gene '0' or not
  for (RecordMark sum = 0; sum <= 90; ++sum) marks.push_back(sum);
  for (RecordMark sum = 0; sum <= 90; ++sum) marks.push_back(sum + kZeroGeneMark);
  for (const float divisor : {95.0f, 120.0f, -95.0f}) {
    const SurvivalTest survival(divisor);
    for (const RecordMark least : marks) {
      for (const RecordMark greatest : marks) {
        if (greatest < least) continue;
        const float bound = survival.LeastThreshold(least, greatest);
        bool killsOne = false;
        for (const RecordMark mark : marks) {
          if (mark < least || mark > greatest) continue;
          const float threshold = survival.Threshold(ExaminationOf(mark));
          ASSERT_LE(bound, threshold) << divisor << " " << +least << " to " << +greatest;
          killsOne = killsOne || bound >= threshold;
        }
        ASSERT_TRUE(killsOne) << divisor << " " << +least << " to " << +greatest;
      }
    }
  }
}

using CheckedSimulation = BasicSimulation<CheckingStore>;

TEST(SelectionTest, EndsWithThePopulationSizeAndReadsOnlyWrittenRecords) {
  FakeWindow window;
  window.texts.populationSize = "300";
  TwisterRandomSource random(3);
  CheckedSimulation simulation(window, random);
  simulation.Initialise();
  simulation.CreatePopulation(window.texts, window.options);
  for (int generation = 1; generation <= 20; ++generation) {
    simulation.NextGeneration(window.options);
    ASSERT_EQ(simulation.state.LngActual, 300);
    ASSERT_EQ(simulation.File().RecordsWrittenSinceOpen(), 600);
  }
  EXPECT_EQ(simulation.File().unwrittenReads, 0);
  EXPECT_EQ(window.counter, " 20");
  for (std::int64_t k = 1; k <= 300; ++k) {
    EXPECT_EQ(simulation.File().Record(k).find_first_not_of("0123456789"), std::string::npos);
  }
}

// Only a store in memory can hold such a record: in the population file it is a change made by
// another program, which drops the population before any generation.
TEST(SelectionTest, ARecordWithoutDigitsNeverSurvives) {
  FakeWindow window;
  window.options.autoMutation = false;
  window.options.sexualExchange = false;
  window.texts.populationSize = "1";
  ScriptedRandom random;
  CheckedSimulation simulation(window, random);
  simulation.Initialise();
  simulation.CreatePopulation(window.texts, window.options);
  simulation.File().WriteRecord(1, "ab cd-+.E/");
  ScriptPick(random, 1, 1);
  ScriptExamination(random, 2, 2, 0.0f);
  simulation.NextGeneration(window.options);
  EXPECT_EQ(simulation.state.SngNum, 0.0f);
  EXPECT_EQ(random.draws, 2 + 3);
}

}  // namespace
}  // namespace evo::test
