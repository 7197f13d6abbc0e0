#include "engine/file/population_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/record/gene_summary.h"
#include "support/temp_dir.h"

namespace evo::test {
namespace {

class PopulationFileTest : public ::testing::Test {
 protected:
  std::string Read(std::int64_t k) const {
    std::string genome(kGenes, '?');
    file.ReadRecord(k, genome.data());
    return genome;
  }

  TempDirectory directory;
  PopulationFile file;
};

TEST_F(PopulationFileTest, KeepsRecordKAtByteTenKMinusNine) {
  file.Open("critter.dat");
  file.WriteRecord(1, "0123456789");
  file.WriteRecord(2, "abcdefghij");
  file.WriteRecord(3, "ABCDEFGHIJ");
  file.Close();
  EXPECT_EQ(FileBytes("critter.dat"), "0123456789abcdefghijABCDEFGHIJ");

  file.Open("critter.dat");
  EXPECT_EQ(Read(2), "abcdefghij");
  EXPECT_EQ(file.ReadByte(11), 'a');
  EXPECT_EQ(file.ReadByte(30), 'J');
  EXPECT_EQ(file.RecordsWrittenSinceOpen(), 0);
}

TEST_F(PopulationFileTest, OpensAnExistingFileWithoutChangingIt) {
  const std::string bytes(1000, 'x');
  WriteFileBytes("critter.dat", bytes);
  file.Open("critter.dat");
  file.Reserve(50);
  file.WriteRecord(100, "1234567890");
  file.Close();
  EXPECT_EQ(FileBytes("critter.dat"), std::string(990, 'x') + "1234567890");
}

TEST_F(PopulationFileTest, GrowsToTheLastByteWrittenAndNeverShrinks) {
  file.Open("critter.dat");
  file.WriteRecord(1, "1111111111");
  file.WriteRecord(2, "2222222222");
  EXPECT_EQ(FileBytes("critter.dat").size(), 20u);
  file.Reserve(5);
  for (std::int64_t k = 3; k <= 5; ++k) file.WriteRecord(k, "5555555555");
  file.WriteRecord(2, "7777777777");
  EXPECT_EQ(FileBytes("critter.dat"),
            "1111111111777777777755555555555555555555"
            "5555555555");
  EXPECT_EQ(file.RecordCount(), 5);
  EXPECT_EQ(file.RecordsWrittenSinceOpen(), 5);
}

TEST_F(PopulationFileTest, HandsOutInPlaceOnlyTheRecordsItHoldsAndCountsThemAsWritten) {
  file.Open("critter.dat");
  file.Reserve(5);
  EXPECT_EQ(file.RecordsInPlace(6), nullptr);
  EXPECT_EQ(file.RecordsWrittenSinceOpen(), 0);
  char* records = file.RecordsInPlace(5);
  ASSERT_NE(records, nullptr);
  std::memcpy(records + 4 * kGenes, "5555555555", kGenes);
  EXPECT_EQ(file.RecordsWrittenSinceOpen(), 5);
  EXPECT_EQ(Read(5), "5555555555");
}

TEST_F(PopulationFileTest, ReadsPastTheEndGiveBlanks) {
  WriteFileBytes("critter.dat", "123456789012345");  // a record and a half
  file.Open("critter.dat");
  EXPECT_EQ(Read(1), "1234567890");
  EXPECT_EQ(Read(2), "12345     ");
  EXPECT_EQ(Read(3), "          ");
  EXPECT_EQ(Read(1000000), "          ");
  EXPECT_EQ(file.ReadByte(15), '5');
  EXPECT_EQ(file.ReadByte(16), ' ');
  EXPECT_EQ(file.ReadByte(0), ' ');
  EXPECT_EQ(FileBytes("critter.dat").size(), 15u);

  PopulationFile closed;
  std::string genome(kGenes, '?');
  closed.ReadRecord(1, genome.data());
  EXPECT_EQ(genome, "          ");
}

TEST_F(PopulationFileTest, WritingToAClosedFileFailsWithoutHarm) {
  EXPECT_THROW(file.WriteRecord(1, "1111111111"), FileError);
  EXPECT_FALSE(file.IsOpen());
}

TEST_F(PopulationFileTest, SummaryCountsEveryByteOfThePopulation) {
  file.Open("critter.dat");
  for (std::int64_t k = 1; k <= 100; ++k) file.WriteRecord(k, "5555555555");
  file.WriteRecord(7, "5555565555");

  const GeneSummary summary = SummariseGenes(file, 100);
  EXPECT_EQ(summary.counts[5], 999);
  EXPECT_EQ(summary.counts[6], 1);
  EXPECT_EQ(summary.average, 5.001);

  // Positions past the end are no genes, yet weigh in the divisor.
  const GeneSummary beyond = SummariseGenes(file, 200);
  EXPECT_EQ(beyond.counts[5], 999);
  EXPECT_EQ(beyond.average, 5.001 / 2);

  EXPECT_EQ(SummariseGenes(file, 0).average, 0);
  EXPECT_EQ(SummariseGenes(file, -5).counts[5], 0);
}

}  // namespace
}  // namespace evo::test
