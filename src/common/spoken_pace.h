// A figure that changes faster than anyone can listen, given to screen readers at the pace of
// speech.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>

#include "common/figure_label.h"

namespace evo {

// The figure shows every change at once. A screen reader that listens to the figure is told of a
// change at most twice a second, each time the figure as it then stands (never a queue of the
// figures in between), and at once whenever Flush is called: a run's final figure before its
// result is told. While the pace holds the figure, its spoken name is its caption and the figure
// last told.
//
// Orca does not listen to labels: between Begin and Flush (a run) it is told the figure in the
// window's notice at most once a notice pause, long enough to be heard whole before the next, the
// first a pause after Begin, so that it does not cut short what Orca says of the focus as a run
// starts; Flush tells it nothing, so that what it hears next is the run's result.
class SpokenPace final : public QObject {
 public:
  // Long enough for Orca to say "notification Generations this run 123456" at its usual rate: a
  // notice cuts short the one before.
  static constexpr std::chrono::milliseconds kNoticePause{4000};

  explicit SpokenPace(FigureLabel& figure, std::chrono::milliseconds noticePause = kNoticePause);

  // A run starts changing the figure.
  void Begin();
  // To be called after each change of the figure's text.
  void Changed();
  // Tells screen readers that listen to the figure the figure as it stands now, if they have not
  // been told it, and ends the run's tellings in the notice.
  void Flush();

 private:
  void Tell();

  FigureLabel& figure_;
  const std::chrono::milliseconds noticePause_;
  QElapsedTimer sinceTold_;
  QTimer pending_;
  QElapsedTimer sinceNoticed_;  // valid between Begin and Flush
};

}  // namespace evo
