// Creation of a population and the loading of the parameter boxes.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>

#include "engine/numeric.h"
#include "engine/settings/read_settings.h"
#include "engine_fixture.h"
#include "support/named_rows.h"

namespace evo::test {
namespace {

using CreationTest = EngineTest;

TEST_F(CreationTest, WritesTheStartGenomeToEveryRecord) {
  window.counter = " 12";
  simulation.state.IntHalt = kPerfectGenome;
  Create("100", " 7");

  EXPECT_EQ(FileText(), std::string(1000, '\x37'));
  EXPECT_EQ(simulation.state.LngCritter, 100);
  EXPECT_EQ(simulation.state.IntCreated, kTrue);
  EXPECT_EQ(simulation.state.IntHalt, kNoHalt);
  EXPECT_EQ(window.counter, "0");
  EXPECT_EQ(simulation.state.StrCritter, "7777777777");
  EXPECT_EQ(random.draws, 0);
}

TEST_F(CreationTest, RepeatsTheFirstCharacterOfTheStartText) {
  Create("3", "35");
  EXPECT_EQ(FileText(), "333333333333333333333333333333");
}

// A size's text and the bytes of the population it makes.
struct SizeRow {
  const char* name;
  std::string size;
  std::size_t bytes;
};

class CreationSizeRows : public EngineTest, public ::testing::WithParamInterface<SizeRow> {};

TEST_P(CreationSizeRows, RoundsTheSizeTiesToEven) {
  Create(GetParam().size, "7");
  EXPECT_EQ(FileText().size(), GetParam().bytes);
  EXPECT_EQ(simulation.state.IntCreated, kTrue);
}

INSTANTIATE_TEST_SUITE_P(Sizes, CreationSizeRows,
                         ::testing::Values(SizeRow{"HalfDownToEven", "2.5", 20},
                                           SizeRow{"HalfUpToEven", "3.5", 40},
                                           SizeRow{"Zero", "0", 0}, SizeRow{"Letters", "abc", 0},
                                           SizeRow{"Negative", "-4", 0},
                                           SizeRow{"Exponent", "1e2", 1000}),
                         RowName());

TEST_F(CreationTest, OverwritesOnlyTheRecordsOfTheNewPopulation) {
  std::string old;
  for (int i = 0; i < 1000; ++i) old += static_cast<char>('a' + i % 26);
  WriteFileBytes("critter.dat", old);

  Create("10", "3");
  const std::string bytes = FileText();
  ASSERT_EQ(bytes.size(), 1000u);
  EXPECT_EQ(bytes.substr(0, 100), std::string(100, '3'));
  EXPECT_EQ(bytes.substr(100), old.substr(100));
}

TEST_F(CreationTest, CreatingAgainStartsOver) {
  Create("10", "7");
  WriteRecords({"1234567890"});
  window.counter = " 5";
  simulation.state.IntHalt = kAllBadGenome;
  Create("10", "2");
  EXPECT_EQ(FileText(), std::string(100, '2'));
  EXPECT_EQ(window.counter, "0");
  EXPECT_EQ(simulation.state.IntHalt, kNoHalt);
}

// Nothing but a gene from 1 to 8 is ever written, however the text reached the field; nor read
// as the gene of the main window's settings that Repeated Runs takes.
TEST_F(CreationTest, RefusesAStartTextThatDoesNotBeginWithAGeneFrom1To8AndChangesNothing) {
  Create("10", "5");
  window.counter = " 3";
  simulation.state.IntHalt = kPerfectGenome;
  for (const std::string start : {"", "   ", "x", "9", " 0", "-1", ".5"}) {
    window.texts.populationSize = "20";
    window.texts.startingGeneValue = start;
    EXPECT_THROW(StartingGene(start), EngineError) << '"' << start << '"';
    try {
      simulation.CreatePopulation(window.texts, window.options);
      ADD_FAILURE() << "created with the start text \"" << start << '"';
    } catch (const EngineError& refusal) {
      EXPECT_TRUE(refusal.problem() == Problem(UnreadableSetting{Setting::StartingGeneValue}));
    }
  }
  EXPECT_EQ(FileText(), std::string(100, '5'));
  EXPECT_EQ(simulation.state.LngCritter, 10);
  EXPECT_EQ(simulation.state.IntCreated, kTrue);
  EXPECT_EQ(simulation.state.IntHalt, kPerfectGenome);
  EXPECT_EQ(window.counter, " 3");
  EXPECT_TRUE(simulation.File().IsOpen());
}

TEST_F(CreationTest, RefusesAStartTextBeforeAnyFileExists) {
  window.texts.startingGeneValue = " ";
  EXPECT_THROW(simulation.CreatePopulation(window.texts, window.options), EngineError);
  EXPECT_FALSE(std::filesystem::exists("critter.dat"));
  EXPECT_EQ(simulation.state.IntCreated, kFalse);
}

using ParametersTest = EngineTest;

TEST_F(ParametersTest, LoadsTheBoxesAndClearsTheStopReason) {
  simulation.state.IntHalt = kAllBadGenome;
  simulation.GetParameters(window.texts);
  EXPECT_EQ(simulation.state.IntHalt, kNoHalt);
  EXPECT_EQ(simulation.state.LngCritter, 100);
  EXPECT_EQ(simulation.state.LngMutateNum, 10);
  EXPECT_EQ(simulation.state.SngGoodFactor, 0.1f);
  EXPECT_EQ(simulation.state.SngGenNum, 50.0f);

  window.texts = {"2.5", "abc", "3.5", "-2.5", "7"};
  simulation.GetParameters(window.texts);
  EXPECT_EQ(simulation.state.LngCritter, 2);
  EXPECT_EQ(simulation.state.LngMutateNum, 4);
  EXPECT_EQ(simulation.state.SngGoodFactor, 0.0f);
  EXPECT_EQ(simulation.state.SngGenNum, -2.5f);

  window.texts.populationSize = "";
  window.texts.mutationsPerCycle = "-7";
  simulation.GetParameters(window.texts);
  EXPECT_EQ(simulation.state.LngCritter, 0);
  EXPECT_EQ(simulation.state.LngMutateNum, -7);
}

// Values just beyond what the state holds are refused, naming the box; the bounds themselves
// are taken (below).
TEST_F(ParametersTest, RefusesWhatTheStateCannotHoldAndChangesNothing) {
  const struct {
    std::string SettingTexts::*box;
    std::string text;
    Setting setting;
  } cases[] = {
      {&SettingTexts::populationSize, "3e9", Setting::PopulationSize},
      {&SettingTexts::populationSize, "1e999", Setting::PopulationSize},
      {&SettingTexts::populationSize, "1073741823.5", Setting::PopulationSize},
      {&SettingTexts::populationSize, "-2147483648.6", Setting::PopulationSize},
      {&SettingTexts::mutationsPerCycle, "2147483647.5", Setting::MutationsPerCycle},
      {&SettingTexts::mutationsPerCycle, "-2147483648.6", Setting::MutationsPerCycle},
      {&SettingTexts::mutationsPerCycle, "-1e999", Setting::MutationsPerCycle},
      {&SettingTexts::goodMutationProbability, "3.4028236E+38", Setting::GoodMutationProbability},
      {&SettingTexts::goodMutationProbability, "-1e999", Setting::GoodMutationProbability},
      {&SettingTexts::generations, "1e39", Setting::Generations},
  };
  for (const auto& c : cases) {
    window.texts = {};  // the design-time boxes
    simulation.GetParameters(window.texts);
    simulation.state.IntHalt = kPerfectGenome;
    const SimulationState before = simulation.state;

    window.texts.*c.box = c.text;
    try {
      simulation.GetParameters(window.texts);
      ADD_FAILURE() << "loaded " << c.text;
    } catch (const EngineError& refusal) {
      EXPECT_TRUE(refusal.problem() == Problem(UnreadableSetting{c.setting})) << c.text;
    }
    EXPECT_EQ(simulation.state.IntHalt, kPerfectGenome) << c.text;
    EXPECT_EQ(simulation.state.LngCritter, before.LngCritter) << c.text;
    EXPECT_EQ(simulation.state.LngMutateNum, before.LngMutateNum) << c.text;
    EXPECT_EQ(simulation.state.SngGoodFactor, before.SngGoodFactor) << c.text;
    EXPECT_EQ(simulation.state.SngGenNum, before.SngGenNum) << c.text;
  }
}

TEST_F(ParametersTest, AcceptsTheLargestValuesThatFit) {
  window.texts.populationSize = "1073741823";
  window.texts.mutationsPerCycle = "-2147483648";
  window.texts.goodMutationProbability = "3.4e38";
  simulation.GetParameters(window.texts);
  EXPECT_EQ(simulation.state.LngCritter, 1073741823);
  EXPECT_EQ(simulation.state.LngMutateNum, -2147483648);
  EXPECT_EQ(simulation.state.SngGoodFactor, 3.4e38f);

  // The other ends, as the refusals write them.
  window.texts.populationSize = "-2147483648";
  window.texts.mutationsPerCycle = "2147483647";
  window.texts.goodMutationProbability = "-3.40282346638529E+38";
  simulation.GetParameters(window.texts);
  EXPECT_EQ(simulation.state.LngCritter, -2147483648);
  EXPECT_EQ(simulation.state.LngMutateNum, 2147483647);
  EXPECT_EQ(simulation.state.SngGoodFactor, -std::numeric_limits<float>::max());
}

TEST_F(ParametersTest, RefusesASizeBeyondTheRecordsOfTheExistingPopulation) {
  Create("100", "7");
  window.texts.populationSize = "101";
  simulation.state.IntHalt = kPerfectGenome;
  try {
    simulation.GetParameters(window.texts, ParameterUse::ExistingPopulation);
    ADD_FAILURE() << "loaded a size beyond the population";
  } catch (const EngineError& refusal) {
    EXPECT_TRUE(refusal.problem() == Problem(PopulationBeyondFile{101, 100}));
  }
  EXPECT_EQ(simulation.state.LngCritter, 100);
  EXPECT_EQ(simulation.state.IntHalt, kPerfectGenome);

  simulation.GetParameters(window.texts, ParameterUse::NewPopulation);
  EXPECT_EQ(simulation.state.LngCritter, 101);

  window.texts.populationSize = "50";
  simulation.GetParameters(window.texts, ParameterUse::ExistingPopulation);
  EXPECT_EQ(simulation.state.LngCritter, 50);
}

TEST_F(ParametersTest, AnySizeLoadsWhileNoPopulationExists) {
  window.texts.populationSize = "5000";
  simulation.GetParameters(window.texts, ParameterUse::ExistingPopulation);
  EXPECT_EQ(simulation.state.LngCritter, 5000);
}

}  // namespace
}  // namespace evo::test
