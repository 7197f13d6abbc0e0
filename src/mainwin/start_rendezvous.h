// One window per menu start. The first copy started for a data directory holds that directory's
// start lock for as long as it runs and listens on a local socket beside the lock; a later start
// for the same user and directory finds the lock taken, connects, and the running copy brings
// its window forward and answers. The lock is the system's (flock) and goes with the process,
// also when it is killed, so a stale socket left by a killed copy is simply replaced.
//
// The lock and the socket live only in a folder of this user's that no one else can write in
// (PrivateFolder): nothing another user makes can stop or steer a start. Without such a folder,
// every start opens a window.
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string>

namespace evo {

class StartRendezvous final : public QObject {
 public:
  // For the data directory the program has entered, by its path as the system gives it.
  explicit StartRendezvous(const QByteArray& dataDirectory);
  ~StartRendezvous() override;
  StartRendezvous(const StartRendezvous&) = delete;
  StartRendezvous& operator=(const StartRendezvous&) = delete;

  // True when a copy already running for the directory took this start over: it brought its
  // window forward and this copy should end. Otherwise this copy answers the later starts from
  // now on; a running copy that cannot be reached, or a lock that cannot be made, leaves this
  // copy to start as usual, with a note on standard error.
  bool PassedToRunningCopy();

  // Stops answering and removes the lock and the socket that this copy made, as the program ends.
  void Release();

 private:
  enum class Lock { Taken, HeldElsewhere, Impossible };
  Lock TakeLock();
  bool CallRunningCopy();
  void AnswerLaterStarts();
  void AnswerStart(QLocalSocket* start);

  std::string lockPath_;
  std::string socketPath_;
  int lock_ = -1;
  QLocalServer server_;
};

// The folder for the lock and the socket: the session's runtime folder ($XDG_RUNTIME_DIR), or
// evolution-simulation-UID in the temporary folder, made for the user when missing; either only
// when it is a folder (not a link) that the user owns and no one else may enter. Empty when
// neither is.
std::string PrivateFolder();

// Shows every window of the program that is showing in front of the others, restored when it
// was minimised, and gives the keyboard to the modal box if one is open, else to the window.
void BringWindowsForward();

}  // namespace evo
