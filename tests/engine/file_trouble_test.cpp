// A population file that cannot be opened or grown: the command fails with a message, no
// population is taken to exist unless its file was written, and the program goes on.
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>

#include "engine_fixture.h"

namespace evo::test {
namespace {

// Limits the size of the files this process writes, as a full disk would, for the life of the
// object. The signal the kernel sends for a file grown past the limit is ignored meanwhile, so
// that the growth fails with an error instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  void (*previousHandler_)(int);
};

class FileTroubleTest : public EngineTest {
 protected:
  // Creates and expects the file to fail for the reason given.
  void ExpectCreationFails(const Problem& expected) {
    try {
      Create("100", "7");
      ADD_FAILURE() << "created a population";
    } catch (const FileError& failure) {
      EXPECT_TRUE(failure.problem() == expected)
          << "another problem, of kind " << failure.problem().index();
    }
    EXPECT_EQ(simulation.state.IntCreated, kFalse);
    EXPECT_FALSE(simulation.File().IsOpen());
  }
};

TEST_F(FileTroubleTest, AFileThatCannotBeOpenedLeavesNoPopulation) {
  Create("10", "7");
  std::filesystem::remove("critter.dat");
  std::filesystem::create_directory("critter.dat");
  ExpectCreationFails(NotARegularFile{"critter.dat", FileKind::Directory});

  std::filesystem::remove("critter.dat");
  Create("10", "4");
  EXPECT_EQ(simulation.state.IntCreated, kTrue);
  EXPECT_EQ(FileText(), std::string(100, '4'));
}

TEST_F(FileTroubleTest, AFileThatCannotGrowForCreationLeavesNoPopulation) {
  {
    FileSizeLimit fullDisk(500);
    ExpectCreationFails(FileActionFailed{FileAction::Grow, "critter.dat", EFBIG});
  }
  EXPECT_EQ(FileText(), "");  // what the failed growth had added is gone

  Create("100", "7");
  EXPECT_EQ(FileText(), std::string(1000, '7'));
}

TEST_F(FileTroubleTest, AFileThatCannotGrowForOffspringStopsTheGenerationUnchanged) {
  window.options.autoMutation = false;
  random.afterScript = kDies;
  Create("40", "7");
  {
    FileSizeLimit fullDisk(500);
    EXPECT_THROW(simulation.NextGeneration(window.options), FileError);
  }
  EXPECT_EQ(FileText(), std::string(400, '7'));
  EXPECT_EQ(window.counter, "0");
  EXPECT_EQ(window.yields, 0);
  EXPECT_EQ(simulation.state.IntCreated, kTrue);

  simulation.NextGeneration(window.options);
  EXPECT_EQ(window.counter, " 1");
  EXPECT_EQ(FileText().size(), 800u);
}

}  // namespace
}  // namespace evo::test
