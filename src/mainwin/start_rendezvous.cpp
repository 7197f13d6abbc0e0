#include "mainwin/start_rendezvous.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace evo {
namespace {

// How long a later start waits for the running copy: a run yields to its window at least once
// per generation, which takes well under a second even at a million critters.
constexpr int kAnswerTimeoutMs = 5000;
constexpr int kRetryPauseMs = 50;

bool IsPrivate(const std::string& folder) {
  struct stat status {};
  return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
         status.st_uid == ::getuid() && (status.st_mode & 077) == 0;
}

// Whether path is a socket of this user's: only such a one is spoken to.
bool IsOwnSocket(const std::string& path) {
  struct stat status {};
  return ::lstat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) &&
         status.st_uid == ::getuid();
}

std::string KindAt(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return {};
  if (S_ISDIR(status.st_mode)) return "a folder";
  if (S_ISLNK(status.st_mode)) return "a symbolic link";
  if (S_ISSOCK(status.st_mode)) return "a socket";
  return "a file";
}

void Note(const std::string& text) {
  std::fprintf(stderr, "evolution-simulation: %s\n", text.c_str());
}

void NoteFailure(const std::string& what, int error) {
  Note(what + ": " + std::strerror(error));
}

}  // namespace

std::string PrivateFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR");
      runtime != nullptr && runtime[0] == '/' && IsPrivate(runtime)) {
    return runtime;
  }
  const std::string own = QFile::encodeName(QDir::tempPath()).toStdString() +
                          "/evolution-simulation-" + std::to_string(::getuid());
  // Made for the user alone; one that someone else made first fails the check.
  ::mkdir(own.c_str(), 0700);
  return IsPrivate(own) ? own : std::string();
}

StartRendezvous::StartRendezvous(const QByteArray& dataDirectory) {
  const std::string folder = PrivateFolder();
  if (folder.empty()) return;
  const std::string base = folder + "/evolution-simulation-" +
                           QCryptographicHash::hash(dataDirectory, QCryptographicHash::Sha256)
                               .toHex()
                               .left(16)
                               .toStdString();
  lockPath_ = base + ".lock";
  socketPath_ = base + ".socket";
  server_.setSocketOptions(QLocalServer::UserAccessOption);
}

StartRendezvous::~StartRendezvous() {
  if (lock_ >= 0) ::close(lock_);
}

bool StartRendezvous::PassedToRunningCopy() {
  if (lockPath_.empty()) {
    Note("no folder of this user's alone for the start lock; every start opens a window");
    return false;
  }
  // The running copy takes the lock before it listens, and may be ending: try both until the
  // time is up.
  const QDeadlineTimer deadline(kAnswerTimeoutMs);
  while (!deadline.hasExpired()) {
    switch (TakeLock()) {
      case Lock::Taken:
        AnswerLaterStarts();
        return false;
      case Lock::Impossible:
        return false;
      case Lock::HeldElsewhere:
        if (CallRunningCopy()) return true;
        break;
    }
    QThread::msleep(kRetryPauseMs);
  }
  Note("the copy running for this data directory does not answer; starting another one");
  return false;
}

// The lock file at the path as it stands: a copy that ends removes it, and a file locked after
// its removal would guard nothing.
StartRendezvous::Lock StartRendezvous::TakeLock() {
  const int fd = ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    NoteFailure(lockPath_, errno);
    return Lock::Impossible;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return Lock::HeldElsewhere;
    NoteFailure(lockPath_, error);
    return Lock::Impossible;
  }
  struct stat locked {};
  struct stat named {};
  if (::fstat(fd, &locked) != 0 || ::lstat(lockPath_.c_str(), &named) != 0 ||
      locked.st_ino != named.st_ino || locked.st_dev != named.st_dev) {
    ::close(fd);
    return Lock::HeldElsewhere;  // by the copy that removed it, until it has ended
  }
  lock_ = fd;
  return Lock::Taken;
}

bool StartRendezvous::CallRunningCopy() {
  if (!IsOwnSocket(socketPath_)) return false;
  QLocalSocket socket;
  socket.connectToServer(QFile::decodeName(socketPath_.c_str()));
  return socket.waitForConnected(kAnswerTimeoutMs) && socket.waitForReadyRead(kAnswerTimeoutMs);
}

void StartRendezvous::AnswerLaterStarts() {
  const QString path = QFile::decodeName(socketPath_.c_str());
  // Whatever answers here was left by a copy that no longer holds the lock: it is gone.
  QLocalServer::removeServer(path);
  if (!server_.listen(path)) {
    const std::string kind = KindAt(socketPath_);
    Note("cannot answer later starts at " + socketPath_ + ": " +
         (kind.empty() ? server_.errorString().toStdString()
                       : kind + " that cannot be removed is in its place"));
    return;
  }
  connect(&server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* start = server_.nextPendingConnection()) AnswerStart(start);
  });
}

// A connection is the whole request; the answer tells the later start that it is taken over.
void StartRendezvous::AnswerStart(QLocalSocket* start) {
  connect(start, &QLocalSocket::disconnected, start, &QObject::deleteLater);
  BringWindowsForward();
  start->write("1");
  start->disconnectFromServer();
}

void StartRendezvous::Release() {
  if (lock_ < 0) return;
  server_.close();
  ::unlink(lockPath_.c_str());
  ::close(lock_);
  lock_ = -1;
}

void BringWindowsForward() {
  QWidget* front = nullptr;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    const Qt::WindowType type = window->windowType();
    if (!window->isVisible() || (type != Qt::Window && type != Qt::Dialog)) continue;
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    front = window;
  }
  if (QWidget* modal = QApplication::activeModalWidget()) front = modal;
  if (front == nullptr) return;
  front->raise();
  front->activateWindow();
}

}  // namespace evo
