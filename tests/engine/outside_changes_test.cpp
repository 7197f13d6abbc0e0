// Other programs at work on critter.dat: no signal ends the process, nothing is written where it
// must not be, and no population is taken to exist that the file does not hold.
#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "engine_fixture.h"

namespace evo::test {
namespace {

namespace fs = std::filesystem;

// Runs an action just before draw number `at`: the file changes in the middle of a command.
class InterruptingRandom : public ScriptedRandom {
 public:
  long at = -1;
  std::function<void()> action;
  float Draw() override {
    if (draws + 1 == at) action();
    return ScriptedRandom::Draw();
  }
};

class OutsideChangesTest : public EngineTest {
 protected:
  OutsideChangesTest() { random.afterScript = kDies; }

  // The command fails for the file, naming it and what happened, and leaves no population and no
  // history of one.
  void ExpectLost(Simulation& copy, const std::function<void()>& command, const std::string& what) {
    try {
      command();
      ADD_FAILURE() << "went on as if nothing had happened";
    } catch (const FileError& failure) {
      const std::string message = failure.what();
      EXPECT_TRUE(message.find("critter.dat") != message.npos && message.find(what) != message.npos)
          << message;
    }
    EXPECT_EQ(copy.state.IntCreated, kFalse);
    EXPECT_FALSE(copy.File().IsOpen());
    EXPECT_TRUE(copy.History().Spans().empty());
  }
};

TEST_F(OutsideChangesTest, AFileCutOrReplacedBetweenOrDuringCommandsIsReported) {
  Create("1000", "7");
  window.onYield = [] { fs::resize_file("critter.dat", 4095); };
  simulation.NextGeneration();
  ExpectLost(
      simulation, [&] { simulation.NextGeneration(); }, "was shortened");
  EXPECT_EQ(window.counter, " 1");
  window.onYield = nullptr;

  Create("100", "7");
  WriteFileBytes("other.dat", std::string(1000, '7'));
  fs::rename("other.dat", "critter.dat");
  ExpectLost(
      simulation, [&] { simulation.GetParameters(); }, "was replaced");

  InterruptingRandom cutting;
  Simulation interrupted{window, cutting};
  interrupted.Initialise();
  window.boxes[ParameterBox::PopSize] = "1000";
  interrupted.CreatePopulation();
  cutting.afterScript = kDies;
  cutting.action = [] { fs::resize_file("critter.dat", 0); };
  cutting.at = 40 + 4 * 500;  // offspring 500, after the 10 mutations
  ExpectLost(
      interrupted, [&] { interrupted.NextGeneration(); }, "was shortened");
  interrupted.CreatePopulation();
  EXPECT_EQ(FileText(), std::string(10000, '7'));
}

TEST_F(OutsideChangesTest, ReservingAllocatesTheHolesOfASparseFile) {
  WriteFileBytes("critter.dat", "");
  fs::resize_file("critter.dat", 1 << 20);
  simulation.File().Open("critter.dat");
  simulation.File().Reserve(10000);
  struct stat status {};
  ASSERT_EQ(stat("critter.dat", &status), 0);
  EXPECT_GE(status.st_blocks * 512, 100000);
}

// On a full file system that is a message, not a signal. Mounting one needs the right to.
TEST_F(OutsideChangesTest, ASparseFileOnAFullFileSystemFailsWithAMessage) {
  fs::create_directory("small");
  if (mount("tmpfs", "small", "tmpfs", 0, "size=64k") != 0) GTEST_SKIP() << "cannot mount";
  {
    Simulation onSmall{window, random, "small/critter.dat"};
    WriteFileBytes("small/critter.dat", "");
    fs::resize_file("small/critter.dat", 1 << 20);
    window.boxes[ParameterBox::PopSize] = "10000";
    ExpectLost(
        onSmall, [&] { onSmall.CreatePopulation(); }, "Cannot grow");
  }
  umount2("small", MNT_DETACH);
}

TEST_F(OutsideChangesTest, ALinkOrAPipeIsRefusedAndNothingIsWrittenThroughIt) {
  WriteFileBytes("notes.txt", "my notes");
  fs::create_symlink("notes.txt", "critter.dat");
  ExpectLost(
      simulation, [&] { Create("10", "7"); }, "it is a symbolic link");
  simulation.CloseAndDeleteFile();
  EXPECT_EQ(FileBytes("notes.txt"), "my notes");
  fs::remove("critter.dat");
  fs::create_symlink("elsewhere.dat", "critter.dat");
  ExpectLost(
      simulation, [&] { Create("10", "7"); }, "it is a symbolic link");
  EXPECT_FALSE(fs::exists("elsewhere.dat"));
  fs::remove("critter.dat");
  ASSERT_EQ(mkfifo("critter.dat", 0644), 0);
  ExpectLost(
      simulation, [&] { Create("10", "7"); }, "it is a named pipe");
}

TEST_F(OutsideChangesTest, OneRunningCopyOwnsTheFile) {
  Create("100", "7");
  Simulation second{window, random};
  ExpectLost(
      second, [&] { second.CreatePopulation(); }, "is in use by another running copy");
  second.CloseAndDeleteFile();
  EXPECT_EQ(FileText(), std::string(1000, '7'));
  simulation.CloseFile();
  second.CreatePopulation();
  simulation.CloseAndDeleteFile();
  EXPECT_TRUE(fs::exists("critter.dat")) << "deleted the file that the other copy holds";
}

}  // namespace
}  // namespace evo::test
