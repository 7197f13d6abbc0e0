// One window per menu start: where the start lock and its socket may live, that nothing another
// user plants stops a start, that a later start is passed to the running copy, and that the copy
// takes its files away as it ends.
#include "mainwin/start_rendezvous.h"

#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <cstring>
#include <filesystem>
#include <future>
#include <thread>

#include "support/scoped_variable.h"
#include "support/temp_dir.h"

namespace evo::test {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 65534;
const QByteArray kDataDirectory = "/home/someone/.local/share/evolution-simulation";

QByteArray Bytes(const fs::path& path) {
  return QByteArray::fromStdString(path.native());
}

fs::perms Permissions(const fs::path& path) {
  return fs::symlink_status(path).permissions() & fs::perms::all;
}

// Another user's socket that answers every start as a running copy would.
class AnsweringSocket {
 public:
  explicit AnsweringSocket(const fs::path& path) : fd_(socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
             listen(fd_, 4) == 0;
    answering_ = std::thread([this] {
      for (int client; (client = accept(fd_, nullptr, nullptr)) >= 0; close(client)) {
        [[maybe_unused]] const auto sent = write(client, "1", 1);
      }
    });
  }
  ~AnsweringSocket() {
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    answering_.join();
  }
  bool Bound() const { return bound_; }

 private:
  int fd_;
  bool bound_ = false;
  std::thread answering_;
};

class StartRendezvousTest : public ::testing::Test {
 protected:
  fs::path OwnFolder() const {
    return temp.Path() / ("evolution-simulation-" + std::to_string(getuid()));
  }

  TempDirectory temp;
  ScopedVariable tmpdir{"TMPDIR", Bytes(temp.Path())};
  ScopedVariable runtime{"XDG_RUNTIME_DIR", QByteArray()};
};

TEST_F(StartRendezvousTest, LivesOnlyInAFolderOfTheUsersAlone) {
  // Without a runtime folder, one of the program's own in the temporary folder, made private.
  EXPECT_EQ(PrivateFolder(), OwnFolder().native());
  EXPECT_EQ(Permissions(OwnFolder()), fs::perms::owner_all);

  const fs::path run = temp.Path() / "run";
  fs::create_directory(run);
  fs::permissions(run, fs::perms::owner_all);
  ScopedVariable session("XDG_RUNTIME_DIR", Bytes(run));
  EXPECT_EQ(PrivateFolder(), run.native());
  fs::permissions(run, fs::perms::all);
  EXPECT_EQ(PrivateFolder(), OwnFolder().native()) << "a runtime folder others may write in";
  fs::remove(run);
  EXPECT_EQ(PrivateFolder(), OwnFolder().native()) << "a runtime folder that is missing";
  fs::remove(OwnFolder());
  fs::create_directory_symlink(run, OwnFolder());
  EXPECT_EQ(PrivateFolder(), "") << "a link in place of the folder";
}

// What another local user can plant before a menu start: a lock held and a socket answering,
// under the names in the shared temporary folder and in a folder made there in the user's name.
TEST_F(StartRendezvousTest, NothingAnotherUserPlantsStopsAStart) {
  if (geteuid() != 0) GTEST_SKIP() << "planting as another user needs root";
  fs::create_directory(OwnFolder());
  fs::permissions(OwnFolder(), fs::perms::all);
  ASSERT_EQ(chown(OwnFolder().c_str(), kOtherUser, kOtherUser), 0);
  const std::string key = QCryptographicHash::hash(kDataDirectory, QCryptographicHash::Sha256)
                              .toHex()
                              .left(16)
                              .toStdString();
  std::vector<std::unique_ptr<AnsweringSocket>> sockets;
  std::vector<int> locks;
  for (const fs::path& base :
       {temp.Path() / ("evolution-simulation-" + std::to_string(getuid()) + "-" + key),
        OwnFolder() / ("evolution-simulation-" + key)}) {
    locks.push_back(open((base.native() + ".lock").c_str(), O_RDWR | O_CREAT, 0666));
    ASSERT_EQ(flock(locks.back(), LOCK_EX), 0);
    sockets.push_back(std::make_unique<AnsweringSocket>(base.native() + ".socket"));
    ASSERT_TRUE(sockets.back()->Bound());
    for (const char* suffix : {".lock", ".socket"}) {
      ASSERT_EQ(lchown((base.native() + suffix).c_str(), kOtherUser, kOtherUser), 0);
    }
  }
  EXPECT_EQ(PrivateFolder(), "");
  QElapsedTimer took;
  took.start();
  EXPECT_FALSE(StartRendezvous(kDataDirectory).PassedToRunningCopy());
  EXPECT_LT(took.elapsed(), 1000) << "a start that opens its window waits for nothing";
  for (const int lock : locks) close(lock);
}

// A later start for the same directory is passed to the running copy, which answers from its
// event loop; the copy's files go as it ends, and the next start takes the lock at once.
TEST_F(StartRendezvousTest, ALaterStartIsPassedOnAndTheFilesGoWithTheCopy) {
  StartRendezvous running(kDataDirectory);
  ASSERT_FALSE(running.PassedToRunningCopy());
  ASSERT_EQ(std::distance(fs::directory_iterator(OwnFolder()), fs::directory_iterator()), 2);

  auto later = std::async(std::launch::async,
                          [] { return StartRendezvous(kDataDirectory).PassedToRunningCopy(); });
  while (later.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
    QCoreApplication::processEvents();
  }
  EXPECT_TRUE(later.get());

  running.Release();
  EXPECT_TRUE(fs::is_empty(OwnFolder()));
  StartRendezvous next(kDataDirectory);
  QElapsedTimer took;
  took.start();
  EXPECT_FALSE(next.PassedToRunningCopy());
  EXPECT_LT(took.elapsed(), 1000);
  next.Release();
}

// What stands in the socket's place is said in words, not in the error of the failed listen.
TEST_F(StartRendezvousTest, SaysWhatStandsInTheSocketsPlace) {
  StartRendezvous named(kDataDirectory);
  ASSERT_FALSE(named.PassedToRunningCopy());
  fs::path socketPath;
  for (const auto& entry : fs::directory_iterator(OwnFolder())) {
    if (entry.path().extension() == ".socket") socketPath = entry.path();
  }
  named.Release();
  ASSERT_FALSE(socketPath.empty());
  fs::create_directories(socketPath / "kept");
  testing::internal::CaptureStderr();
  StartRendezvous blocked(kDataDirectory);
  EXPECT_FALSE(blocked.PassedToRunningCopy());
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "evolution-simulation: cannot answer later starts at " + socketPath.native() +
                ": a folder that cannot be removed is in its place\n");
  blocked.Release();
}

}  // namespace
}  // namespace evo::test
