// A figure that changes faster than anyone can listen, given to screen readers at the pace of
// speech.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "common/figure_label.h"

namespace evo {

// The figure shows every change at once; screen readers are told of a change at most twice a
// second, each time the figure as it then stands (never a queue of the figures in between), and
// at once whenever Flush is called: a run's final figure before its result is told. While the
// pace holds the figure, its spoken name is its caption and the figure last told.
class SpokenPace final : public QObject {
 public:
  explicit SpokenPace(FigureLabel& figure);

  // To be called after each change of the figure's text.
  void Changed();
  // Tells screen readers the figure as it stands now, if they have not been told it.
  void Flush();

 private:
  void Tell();

  FigureLabel& figure_;
  QElapsedTimer sinceTold_;
  QTimer pending_;
};

}  // namespace evo
