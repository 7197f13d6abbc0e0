// One window per menu start. The first copy started for a data directory holds that directory's
// start lock for as long as it runs and listens on a local socket beside the lock; a later start
// for the same user and directory finds the lock taken, connects, and the running copy brings
// its window forward and answers. The lock is the system's (flock) and goes with the process,
// also when it is killed, so a stale socket left by a killed copy is simply replaced.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

namespace evo {

class StartRendezvous final : public QObject {
 public:
  // For the data directory the program has entered (the key is its absolute path).
  explicit StartRendezvous(const QString& dataDirectory);
  ~StartRendezvous() override;
  StartRendezvous(const StartRendezvous&) = delete;
  StartRendezvous& operator=(const StartRendezvous&) = delete;

  // True when a copy already running for the directory took this start over: it brought its
  // window forward and this copy should end. Otherwise this copy answers the later starts from
  // now on; a running copy that cannot be reached (or a lock that cannot be made) leaves this
  // copy to start as usual, with a note on standard error.
  bool PassedToRunningCopy();

 private:
  bool CallRunningCopy();
  void AnswerLaterStarts();
  void AnswerStart(QLocalSocket* start);

  QString lockPath_;
  QString socketPath_;
  int lock_ = -1;
  QLocalServer server_;
};

// Shows every window of the program that is showing in front of the others, restored when it
// was minimised, and gives the keyboard to the modal box if one is open, else to the window.
void BringWindowsForward();

}  // namespace evo
