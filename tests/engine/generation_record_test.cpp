// The record of every generation's figures: the rows a population's life makes, the bound on
// its memory, and what drops it.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/engine_error.h"
#include "engine/record/generation_csv.h"
#include "engine/simulation/simulation.h"
#include "support/fake_window.h"
#include "support/temp_dir.h"

namespace evo::test {
namespace {

TEST(GenerationRecord, RowsOfAPopulationsLifeWithTheSettingsAndTheSummarysCounts) {
  TempDirectory directory;
  FakeWindow window;
  TwisterRandomSource random{11};
  Simulation simulation{window, random};
  simulation.Initialise();
  simulation.CreatePopulation(window.texts, window.options);
  simulation.InsertMutations(window.options);
  simulation.NextGeneration(window.options);
  window.texts.goodMutationProbability = ".75";
  simulation.GetParameters(window.texts);
  window.options.sexualExchange = false;  // the two switches differ, each in its own column
  simulation.NextGeneration(window.options);

  const std::vector<GenerationRow>& rows = simulation.Record().Rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].event, RowEvent::Created);
  EXPECT_EQ(rows[0].figures.counts[7], 1000);
  EXPECT_EQ(std::make_pair(rows[1].generation, rows[1].event),
            std::make_pair(0L, RowEvent::Mutations));
  EXPECT_EQ(std::make_pair(rows[3].generation, rows[3].event),
            std::make_pair(2L, RowEvent::Generation));
  EXPECT_EQ(rows[3].settings.goodMutationProbability, 0.75f);
  EXPECT_TRUE(rows[2].settings.options.sexualExchange && rows[2].settings.options.autoMutation);
  EXPECT_FALSE(rows[3].settings.options.sexualExchange);
  EXPECT_TRUE(rows[3].settings.options.autoMutation);
  const std::string csv = GenerationCsv(simulation.Record());
  EXPECT_NE(csv.find("\r\n2,generation,100,0.75,10,OFF,ON,7,"), std::string::npos) << csv;
  const GeneSummary now = SummariseGenes(simulation.File(), 100);
  EXPECT_EQ(rows.back().figures.counts, now.counts);
  EXPECT_NE(now.average, 7) << "an unchanged population proves little";

  // A population lost to its file, an erase, an exit: the record goes with it.
  std::filesystem::resize_file("critter.dat", 10);
  EXPECT_THROW(simulation.NextGeneration(window.options), FileError);
  EXPECT_TRUE(simulation.Record().Rows().empty());
  simulation.CreatePopulation(window.texts, window.options);
  EXPECT_EQ(simulation.Record().Rows().size(), 1u);
  simulation.CloseAndDeleteFile();
  EXPECT_TRUE(simulation.Record().Rows().empty());
}

// Rows of generations with a mutation pass between some; every row kept to the bound, then
// every second generation, then every fourth, the newest always.
TEST(GenerationRecord, ThinsEvenlyPastItsBoundAndKeepsTheNewest) {
  constexpr auto kBound = static_cast<std::int64_t>(GenerationRecord::kMaxRows);
  static_assert(kBound >= 100'000);
  GenerationRecord record;
  record.Add(RowEvent::Created, {}, {});
  std::int64_t rowsMade = 1;
  for (std::int64_t generation = 1; generation <= 3 * kBound; ++generation) {
    record.Add(RowEvent::Generation, {}, {});
    if (generation % 3 == 0) record.Add(RowEvent::Mutations, {}, {});
    rowsMade += generation % 3 == 0 ? 2 : 1;
    if (rowsMade < kBound) {
      ASSERT_EQ(static_cast<std::int64_t>(record.Rows().size()), rowsMade);
    }
    ASSERT_LT(record.Rows().size(), GenerationRecord::kMaxRows);
  }
  EXPECT_EQ(record.GenerationSpacing(), 4);
  EXPECT_LE(record.Rows().capacity(), GenerationRecord::kMaxRows);
  const std::vector<GenerationRow>& rows = record.Rows();
  EXPECT_EQ(rows.back().generation, 3 * kBound);
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    ASSERT_EQ(rows[i].generation, 4 * static_cast<std::int64_t>(i)) << i;
    // The generation's last row: after a pass that followed it, the pass's.
    const RowEvent last = rows[i].generation % 3 == 0 ? RowEvent::Mutations : RowEvent::Generation;
    ASSERT_EQ(rows[i].event, i == 0 ? RowEvent::Created : last) << i;
  }

  // Passes without a generation between them are bounded all the same.
  for (std::int64_t pass = 0; pass < kBound; ++pass) record.Add(RowEvent::Mutations, {}, {});
  EXPECT_LT(record.Rows().size(), GenerationRecord::kMaxRows);
}

// Settings and counts that tell every column and number format apart: the switches differ, a
// probability is not round in binary, a count of a million and one of zero, an average that needs
// fifteen digits; a stop on the second row only, and a record thinned once.
TEST(GenerationCsv, WritesEveryColumnAsExactText) {
  GenerationRecord record;
  GeneSummary million;
  million.counts = {0, 1, 2, 3, 4, 5, 6, 1'000'000, 8, 90};
  million.average = 20.0 / 3;
  record.Add(RowEvent::Created, {1'000'000, 0.3f, 250, 0, 6, {true, false}}, million);
  record.Add(RowEvent::Mutations, {999'999, 0.7f, 3, 0, 6, {false, true}}, million);
  record.MarkStop(StopReason::AllBadGenome);
  EXPECT_EQ(GenerationCsv(record),
            "generation,event,population size,good mutation probability,mutations per cycle,"
            "sexual exchange,auto mutation,starting gene value,stop reason,zeroes,ones,twos,"
            "threes,fours,fives,sixes,sevens,eights,nines,average gene,"
            "kept every nth generation\r\n"
            "0,created,1000000,0.3,250,ON,OFF,6,,0,1,2,3,4,5,6,1000000,8,90,6.66666666666667,1\r\n"
            "0,mutations,999999,0.7,3,OFF,ON,6,all bad genome detected,0,1,2,3,4,5,6,1000000,8,"
            "90,6.66666666666667,1\r\n");

  for (int generation = 1; generation < static_cast<int>(GenerationRecord::kMaxRows);
       ++generation) {
    record.Add(RowEvent::Generation, {}, {});
  }
  ASSERT_EQ(record.GenerationSpacing(), 2);
  EXPECT_TRUE(GenerationCsv(record).ends_with(",,0,0,0,0,0,0,0,0,0,0,0,2\r\n"));
}

}  // namespace
}  // namespace evo::test
