#include "common/spoken_pace.h"

#include "common/desktop_conventions.h"
#include "common/spoken_notice.h"

namespace evo {
namespace {

// Long enough for a screen reader that listens to the figure to say "Generations this run 12345"
// before the next.
constexpr int kLeastPauseMs = 500;

}  // namespace

SpokenPace::SpokenPace(FigureLabel& figure, std::chrono::milliseconds noticePause)
    : QObject(&figure), figure_(figure), noticePause_(noticePause) {
  pending_.setSingleShot(true);
  // A coarse timer may fire a twentieth early.
  pending_.setTimerType(Qt::PreciseTimer);
  connect(&pending_, &QTimer::timeout, this, &SpokenPace::Tell);
  // A name of its own keeps QLabel from announcing every new text itself.
  figure_.setAccessibleName(FigureVoice(figure_));
}

void SpokenPace::Begin() {
  sinceNoticed_.start();
}

void SpokenPace::Changed() {
  if (!sinceTold_.isValid() || sinceTold_.elapsed() >= kLeastPauseMs) {
    Tell();
  } else if (!pending_.isActive()) {
    pending_.start(static_cast<int>(kLeastPauseMs - sinceTold_.elapsed()));
  }
  if (sinceNoticed_.isValid() && sinceNoticed_.elapsed() >= noticePause_.count()) {
    TellScreenReaders(*figure_.window(), FigureVoice(figure_));
    sinceNoticed_.start();
  }
}

void SpokenPace::Flush() {
  sinceNoticed_.invalidate();
  pending_.stop();
  if (figure_.accessibleName() != FigureVoice(figure_)) Tell();
}

void SpokenPace::Tell() {
  pending_.stop();
  sinceTold_.start();
  figure_.setAccessibleName(FigureVoice(figure_));
}

}  // namespace evo
