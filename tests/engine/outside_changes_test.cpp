// Other programs at work on critter.dat: no signal ends the process, nothing is written where it
// must not be, and no population is taken to exist that the file does not hold.
#include <fcntl.h>
#include <linux/falloc.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "engine/record/gene_summary.h"
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
  void ExpectLost(Simulation& copy, const std::function<void()>& command, const Problem& expected) {
    try {
      command();
      ADD_FAILURE() << "went on as if nothing had happened";
    } catch (const FileError& failure) {
      EXPECT_TRUE(failure.problem() == expected)
          << "another problem, of kind " << failure.problem().index();
    }
    EXPECT_EQ(copy.state.IntCreated, kFalse);
    EXPECT_FALSE(copy.File().IsOpen());
    EXPECT_TRUE(copy.History().Spans().empty());
  }
};

TEST_F(OutsideChangesTest, AFileCutOrReplacedBetweenOrDuringCommandsIsReported) {
  Create("1000", "7");
  window.onYield = [] { fs::resize_file("critter.dat", 4095); };
  simulation.NextGeneration(window.options);
  ExpectLost(
      simulation, [&] { simulation.NextGeneration(window.options); },
      PopulationLost{"critter.dat", FileLoss::Shortened});
  EXPECT_EQ(window.counter, " 1");
  window.onYield = nullptr;

  Create("100", "7");
  WriteFileBytes("other.dat", std::string(1000, '7'));
  fs::rename("other.dat", "critter.dat");
  ExpectLost(
      simulation, [&] { simulation.GetParameters(window.texts); },
      PopulationLost{"critter.dat", FileLoss::Replaced});

  InterruptingRandom cutting;
  Simulation interrupted{window, cutting};
  interrupted.Initialise();
  window.texts.populationSize = "1000";
  interrupted.CreatePopulation(window.texts, window.options);
  cutting.afterScript = kDies;
  cutting.action = [] { fs::resize_file("critter.dat", 0); };
  cutting.at = 40 + 4 * 500;  // offspring 500, after the 10 mutations
  ExpectLost(
      interrupted, [&] { interrupted.NextGeneration(window.options); },
      PopulationLost{"critter.dat", FileLoss::Shortened});
  interrupted.CreatePopulation(window.texts, window.options);
  EXPECT_EQ(FileText(), std::string(10000, '7'));
}

TEST_F(OutsideChangesTest, BytesThatAreNoGenesAmongTheRecordsInUseAreReported) {
  const std::function<void()> damages[] = {
      [] {
        fs::resize_file("critter.dat", 0);
        fs::resize_file("critter.dat", 20000);
      },
      [] {
        const int fd = open("critter.dat", O_RDWR);
        EXPECT_EQ(fallocate(fd, FALLOC_FL_PUNCH_HOLE | FALLOC_FL_KEEP_SIZE, 4096, 4096), 0);
        close(fd);
      },
      [] { OverwriteFileBytes("critter.dat", 9999, "x"); },
  };
  for (const auto& damage : damages) {
    Create("1000", "7");
    damage();
    ExpectLost(
        simulation, [&] { simulation.GetParameters(window.texts); },
        PopulationLost{"critter.dat", FileLoss::Changed});
  }
}

// Another copy's Exit exactly between this copy's open and its lock: the lock comes once the other
// has deleted the file, and the population goes into a file of that name, made anew.
TEST_F(OutsideChangesTest, ANameDeletedBetweenOpenAndLockIsOpenedAnew) {
  int exits = 0;
  simulation.File().BetweenOpenAndLock([&exits] {
    if (exits++ > 0) return;
    const int other = open("critter.dat", O_RDONLY);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    fs::remove("critter.dat");
    close(other);
  });
  Create("100", "7");
  EXPECT_EQ(exits, 2) << "opened a second time";
  EXPECT_EQ(FileText(), std::string(1000, '7'));
  EXPECT_EQ(simulation.state.IntCreated, kTrue);
}

TEST_F(OutsideChangesTest, GrowthNeverLengthensAFileCutIntoThePopulation) {
  Create("100", "7");
  fs::resize_file("critter.dat", 500);
  EXPECT_THROW(simulation.File().Reserve(200), FileError);
  EXPECT_EQ(fs::file_size("critter.dat"), 500u);
}

TEST_F(OutsideChangesTest, NoFalseAlarms) {
  // Bytes past the records in use, even those a view reads, may go.
  WriteFileBytes("critter.dat", std::string(100000, '5'));
  Create("1000", "7");
  fs::resize_file("critter.dat", 12000);
  simulation.GetParameters(window.texts);
  EXPECT_EQ(SummariseGenes(simulation.File(), 10000).counts[5], 2000);
  simulation.NextGeneration(window.options);
  EXPECT_EQ(simulation.state.IntCreated, kTrue);

  // A copy that only looks at the file, as Exit does without a population, holds its lock for a
  // moment and may remove the name meanwhile: Create waits for it, then makes a new file.
  const int looker = open("critter.dat", O_RDONLY);
  simulation.DropPopulation();
  ASSERT_EQ(flock(looker, LOCK_EX), 0);
  std::jthread exiting([looker] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fs::remove("critter.dat");
    close(looker);
  });
  Create("100", "7");
  exiting.join();
  EXPECT_EQ(FileText(), std::string(1000, '7'));

  // A folder that cannot be looked into hides the name, which is not gone for that.
  EXPECT_EXIT(
      {
        chmod(".", 0);
        if (geteuid() == 0 && setuid(65534) != 0) std::_Exit(2);
        simulation.GetParameters(window.texts);
        std::_Exit(simulation.File().IsOpen() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(OutsideChangesTest, CreatingOverAndOverKeepsNoDescriptorOrWatch) {
  const auto openDescriptors = [] {
    return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
  };
  const auto before = openDescriptors();
  for (int i = 0; i < 40; ++i) {
    Create("10", "7");
    fs::create_hard_link("critter.dat", "twin.dat");
    EXPECT_THROW(Create("10", "7"), FileError);
    fs::remove("twin.dat");
  }
  Create("10", "7");
  EXPECT_EQ(openDescriptors(), before + 1);
  // Not handed on to a program this one might start.
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    if (fs::read_symlink(entry).filename() == "critter.dat") {
      EXPECT_EQ(fcntl(std::stoi(entry.path().filename()), F_GETFD), FD_CLOEXEC);
    }
  }
  simulation.CloseFile();
  EXPECT_EQ(openDescriptors(), before);
}

// Only a fault that the kernel raises for an access is the file's: a bus error sent by another
// process, even with an address in the mapping, ends the program as it would anyway.
TEST_F(OutsideChangesTest, ABusErrorSentByAProcessTakesItsUsualCourse) {
  Create("1000", "7");
  siginfo_t info{};
  info.si_signo = SIGBUS;
  info.si_code = SI_QUEUE;
  info.si_addr = const_cast<char*>(simulation.File().Bytes().data());
  EXPECT_DEATH(
      {
        syscall(SYS_rt_tgsigqueueinfo, getpid(), gettid(), SIGBUS, &info);
        std::_Exit(0);
      },
      "");
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
    window.texts.populationSize = "10000";
    ExpectLost(
        onSmall, [&] { onSmall.CreatePopulation(window.texts, window.options); },
        FileActionFailed{FileAction::Grow, "small/critter.dat", ENOSPC});
  }
  umount2("small", MNT_DETACH);
}

TEST_F(OutsideChangesTest, ALinkAPipeOrASocketIsRefusedAndNothingIsWrittenThroughIt) {
  WriteFileBytes("notes.txt", "my notes");
  fs::create_symlink("notes.txt", "critter.dat");
  ExpectLost(
      simulation, [&] { Create("10", "7"); },
      NotARegularFile{"critter.dat", FileKind::SymbolicLink});
  simulation.CloseAndDeleteFile();
  EXPECT_EQ(FileBytes("notes.txt"), "my notes");
  fs::remove("critter.dat");
  fs::create_symlink("elsewhere.dat", "critter.dat");
  ExpectLost(
      simulation, [&] { Create("10", "7"); },
      NotARegularFile{"critter.dat", FileKind::SymbolicLink});
  EXPECT_FALSE(fs::exists("elsewhere.dat"));
  fs::remove("critter.dat");
  ASSERT_EQ(mkfifo("critter.dat", 0644), 0);
  ExpectLost(
      simulation, [&] { Create("10", "7"); }, NotARegularFile{"critter.dat", FileKind::NamedPipe});
  fs::remove("critter.dat");
  const int listening = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strcpy(address.sun_path, "critter.dat");
  ASSERT_EQ(bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ExpectLost(
      simulation, [&] { Create("10", "7"); }, NotARegularFile{"critter.dat", FileKind::Socket});
  close(listening);
  fs::remove("critter.dat");
  fs::create_hard_link("notes.txt", "critter.dat");
  ExpectLost(
      simulation, [&] { Create("10", "7"); }, HardLinkedFile{"critter.dat"});
  simulation.CloseAndDeleteFile();
  EXPECT_EQ(FileBytes("notes.txt"), "my notes");
}

TEST_F(OutsideChangesTest, OneRunningCopyOwnsTheFile) {
  Create("100", "7");
  Simulation second{window, random};
  ExpectLost(
      second, [&] { second.CreatePopulation(window.texts, window.options); },
      FileHeldByAnotherCopy{"critter.dat"});
  second.CloseAndDeleteFile();
  EXPECT_EQ(FileText(), std::string(1000, '7'));
  simulation.CloseFile();
  second.CreatePopulation(window.texts, window.options);
  simulation.CloseAndDeleteFile();
  EXPECT_TRUE(fs::exists("critter.dat")) << "deleted the file that the other copy holds";
}

}  // namespace
}  // namespace evo::test
