// The mutation pass and the random fraction that picks its records.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine_fixture.h"

namespace evo::test {
namespace {

TEST(FineRandomTest, TakesTheCoarsePartFromTheSecondDraw) {
  FakeWindow window;
  ScriptedRandom random;
  Simulation simulation(window, random);
  random.script = {0.25f, 0.5f, 0.9999999f, 0.9999999f, 0.0f, 0.0f};
  EXPECT_EQ(simulation.FineRandom(), 0.50000025);
  EXPECT_LT(simulation.FineRandom(), 1.0);
  EXPECT_EQ(simulation.FineRandom(), 0.0);
  EXPECT_EQ(random.draws, 6);
}

class MutationTest : public EngineTest {
 protected:
  // Loads the boxes for a pass of the given number of mutations and good probability.
  void Load(const std::string& mutations, const std::string& goodFactor = ".1") {
    window.texts.mutationsPerCycle = mutations;
    window.texts.goodMutationProbability = goodFactor;
    simulation.GetParameters(window.texts);
  }
};

TEST_F(MutationTest, DrawsRecordGeneAndGoodnessForEachMutation) {
  Create("5", "7");
  Load("2");
  ScriptMutation(random, 3, 5, 4, true);
  ScriptMutation(random, 5, 5, 10, false);
  simulation.Scramble();

  EXPECT_EQ(random.draws, 8);
  EXPECT_TRUE(random.script.empty());
  EXPECT_EQ(FileText(),
            "7777777777"
            "7777777777"
            "7778777777"
            "7777777777"
            "7777777776");
  EXPECT_EQ(simulation.state.StrCritter, "7777777776");
  EXPECT_EQ(simulation.state.IntHalt, kNoHalt);
}

TEST_F(MutationTest, ClampsAtTheDigitsAndActsOnEarlierMutationsOfThePass) {
  Create("2", "1");
  WriteRecords({"1111111111", "9999999998"});
  Load("4");
  ScriptMutation(random, 1, 2, 1, false);  // 1 -> 0
  ScriptMutation(random, 1, 2, 1, false);  // stays 0, not '/'
  ScriptMutation(random, 2, 2, 10, true);  // 8 -> 9
  ScriptMutation(random, 2, 2, 10, true);  // stays 9, not ':'
  simulation.Scramble();

  EXPECT_EQ(Record(1), "0111111111");
  EXPECT_EQ(Record(2), "9999999999");
  EXPECT_EQ(simulation.state.IntHalt, kPerfectGenome);
  EXPECT_EQ(random.draws, 16);
}

TEST_F(MutationTest, GoodProbabilityDecidesWithTheDrawAtOrBelowIt) {
  const float smallestDraw = std::nextafter(0.0f, 1.0f);
  const float largestDraw = std::nextafter(1.0f, 0.0f);
  const struct {
    std::string goodFactor;
    float draw;
    char gene;
  } cases[] = {
      {"1", largestDraw, '6'}, {"5", largestDraw, '6'},  {"-.5", 0.0f, '4'},
      {"0", 0.0f, '6'},        {"0", smallestDraw, '4'}, {".5", 0.5f, '6'},
  };
  for (const auto& c : cases) {
    Create("1", "5");
    Load("1", c.goodFactor);
    ScriptPick(random, 1, 1);
    ScriptGene(random, 6);
    random.script.push_back(c.draw);
    simulation.Scramble();
    EXPECT_EQ(Record(1), std::string("55555") + c.gene + "5555")
        << "good probability " << c.goodFactor << ", draw " << c.draw;
  }
}

TEST_F(MutationTest, NoMutationsDrawNothingAndWriteNothing) {
  Create("10", "7");
  for (const std::string mutations : {"0", "-3"}) {
    Load(mutations);
    simulation.Scramble();
  }
  EXPECT_EQ(random.draws, 0);
  EXPECT_EQ(FileText(), std::string(100, '7'));
}

TEST_F(MutationTest, APassOverNoCritterDrawsNothing) {
  Create("0", "7");
  Load("10");
  simulation.Scramble();
  EXPECT_EQ(random.draws, 0);
  EXPECT_EQ(FileText(), "");
}

TEST_F(MutationTest, TheLastDetectionOfThePassWins) {
  for (const bool perfectLast : {false, true}) {
    Create("3", "5");
    WriteRecords({"9999999998", "0000000001", "5555555555"});
    Load("3");
    const auto perfect = [&] { ScriptMutation(random, 1, 3, 10, true); };
    const auto allBad = [&] { ScriptMutation(random, 2, 3, 10, false); };
    if (perfectLast) {
      allBad();
      perfect();
    } else {
      perfect();
      allBad();
    }
    ScriptMutation(random, 3, 3, 1, true);  // the pass goes on after its detections
    simulation.Scramble();

    EXPECT_EQ(simulation.state.IntHalt, perfectLast ? kPerfectGenome : kAllBadGenome);
    EXPECT_EQ(Record(1), "9999999999");
    EXPECT_EQ(Record(2), "0000000000");
    EXPECT_EQ(Record(3), "6555555555");
    EXPECT_EQ(random.draws, 12);
    random.draws = 0;
  }
}

TEST_F(MutationTest, ThePassNeverClearsAStopReason) {
  Create("1", "8");
  WriteRecords({"9999999999"});
  Load("1");
  simulation.state.IntHalt = kHaltRequested;
  ScriptMutation(random, 1, 1, 3, false);
  simulation.Scramble();
  EXPECT_EQ(Record(1), "9989999999");
  EXPECT_EQ(simulation.state.IntHalt, kHaltRequested);
}

TEST(MutationPassTest, GoodMutationsTakeEveryCritterToThePerfectGenomeAndNoFurther) {
  TempDirectory directory;
  FakeWindow window;
  window.texts = {"5", "1", "2000", "50", "8"};
  TwisterRandomSource random(7);
  Simulation simulation(window, random);
  simulation.Initialise();
  simulation.CreatePopulation(window.texts, window.options);
  simulation.Scramble();
  EXPECT_EQ(FileBytes("critter.dat"), std::string(50, '9'));
  EXPECT_EQ(simulation.state.IntHalt, kPerfectGenome);
}

}  // namespace
}  // namespace evo::test
