#include "mainwin/start_rendezvous.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>
#include <cerrno>
#include <cstdio>

namespace evo {
namespace {

// How long a later start waits for the running copy: a run yields to its window at least once
// per generation, which takes well under a second even at a million critters.
constexpr int kAnswerTimeoutMs = 5000;

// The user's own runtime directory when the session has one, else the temporary directory (where
// the user id in the name keeps users apart and the socket is made for its owner only).
QString RendezvousDirectory() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()) return runtime;
  return QDir::tempPath();
}

QString RendezvousBase(const QString& dataDirectory) {
  const QByteArray key =
      QCryptographicHash::hash(dataDirectory.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
  return RendezvousDirectory() + "/evolution-simulation-" + QString::number(::getuid()) + "-" +
         QString::fromLatin1(key);
}

}  // namespace

StartRendezvous::StartRendezvous(const QString& dataDirectory)
    : lockPath_(RendezvousBase(dataDirectory) + ".lock"),
      socketPath_(RendezvousBase(dataDirectory) + ".socket") {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
}

StartRendezvous::~StartRendezvous() {
  if (lock_ >= 0) ::close(lock_);
}

bool StartRendezvous::PassedToRunningCopy() {
  lock_ = ::open(QFile::encodeName(lockPath_).constData(),
                 O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lock_ < 0) {
    std::perror(("evolution-simulation: " + lockPath_).toLocal8Bit().constData());
    return false;
  }
  if (::flock(lock_, LOCK_EX | LOCK_NB) == 0) {
    AnswerLaterStarts();
    return false;
  }
  const int lockFailure = errno;
  ::close(lock_);
  lock_ = -1;
  // Only a lock held by another process means that a copy runs.
  if (lockFailure != EWOULDBLOCK) {
    errno = lockFailure;
    std::perror(("evolution-simulation: " + lockPath_).toLocal8Bit().constData());
    return false;
  }
  if (CallRunningCopy()) return true;
  std::fprintf(stderr,
               "evolution-simulation: the copy running for this data directory does not "
               "answer; starting another one\n");
  return false;
}

bool StartRendezvous::CallRunningCopy() {
  // The running copy takes the lock before it listens, so it may not listen yet: try again
  // until the time is up.
  QLocalSocket socket;
  QDeadlineTimer deadline(kAnswerTimeoutMs);
  while (!deadline.hasExpired()) {
    socket.connectToServer(socketPath_);
    if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
      return socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    QThread::msleep(50);
  }
  return false;
}

void StartRendezvous::AnswerLaterStarts() {
  // Whatever answers here was left by a copy that no longer holds the lock: it is gone.
  QLocalServer::removeServer(socketPath_);
  if (!server_.listen(socketPath_)) {
    std::fprintf(stderr, "evolution-simulation: cannot answer later starts at %s: %s\n",
                 socketPath_.toLocal8Bit().constData(),
                 server_.errorString().toLocal8Bit().constData());
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
