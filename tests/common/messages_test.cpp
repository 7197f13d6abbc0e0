// The sentences the user reads of what went wrong, made from what the engine reports.
#include "common/messages.h"

#include <gtest/gtest.h>

#include <cerrno>

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace evo::test {
namespace {

TEST(Messages, SayEachProblemWithItsFiguresAndNames) {
  EXPECT_EQ(Sentence(PopulationBeyondFile{101, 100}),
            "Population size 101 is larger than the 100 critters the population file holds: "
            "create a population of that size first.");
  EXPECT_EQ(Sentence(FileActionFailed{FileAction::Grow, "critter.dat", EFBIG}),
            "Cannot grow critter.dat: File too large");
  EXPECT_EQ(Sentence(FileActionFailed{FileAction::ReadSize, "a/critter.dat", EACCES}),
            "Cannot read the size of a/critter.dat: Permission denied");
  EXPECT_EQ(Sentence(NotARegularFile{"critter.dat", FileKind::Socket}),
            "Cannot use critter.dat: it is a socket, and the population is kept only in a regular "
            "file. Remove or rename it, then try again.");
  EXPECT_EQ(Sentence(PopulationLost{"critter.dat", FileLoss::Shortened}),
            "The population file critter.dat was shortened by another program, so the population "
            "in it is lost. Create a population to start again.");
  EXPECT_EQ(Sentence(OutOfMemory{30'000'000, 2}),
            "Not enough memory for 30000000 critters on each of 2 workers.");
  EXPECT_EQ(Sentence(OutOfMemory{1'000'000, 1}),
            "Not enough memory for 1000000 critters on 1 worker.");
}

// A box whose value the simulation cannot hold names the box and what it takes.
TEST(Messages, NameWhatABoxTakesWhenItsValueCannotBeHeld) {
  EXPECT_EQ(Sentence(UnreadableSetting{Setting::PopulationSize}),
            "Population size must round to a whole number from -2147483648 to 1073741823.");
  EXPECT_EQ(Sentence(UnreadableSetting{Setting::MutationsPerCycle}),
            "Absolute number mutations per cycle must round to a whole number from -2147483648 "
            "to 2147483647.");
  EXPECT_EQ(Sentence(UnreadableSetting{Setting::GoodMutationProbability}),
            "Good Mutation Probability must be a number from -3.40282346638529E+38 to "
            "3.40282346638529E+38.");
  EXPECT_EQ(Sentence(UnreadableSetting{Setting::Generations}),
            "Number of Generations to run must round to a whole number from -32768 to 32767.");
  EXPECT_EQ(Sentence(UnreadableSetting{Setting::StartingGeneValue}),
            "Starting Gene Value must begin with a digit from 1 to 8: type a value from 1 to 8.");
}

// A setting refused outside the main window is refused in its field's own words.
TEST(Messages, RefuseASettingInTheWordsOfItsField) {
  EXPECT_EQ(Sentence(RefusedSetting{Setting::PopulationSize, 9}), "values must be greator than 9");
  EXPECT_EQ(Sentence(RefusedSetting{Setting::PopulationSize, 30'000'000}),
            "value must be a million or less");
  EXPECT_EQ(Sentence(RefusedSetting{Setting::GoodMutationProbability, -1}),
            "Probabilities are only in range 0 to 1");
  EXPECT_EQ(Sentence(RefusedSetting{Setting::StartingGeneValue, 9}),
            "values must be in range 1 to 8");
}

}  // namespace
}  // namespace evo::test
