#include "common/spoken_pace.h"

#include "common/desktop_conventions.h"

namespace evo {
namespace {

// Long enough for a screen reader to say "Generations this run 12345" before the next.
constexpr int kLeastPauseMs = 500;

}  // namespace

SpokenPace::SpokenPace(FigureLabel& figure) : QObject(&figure), figure_(figure) {
  pending_.setSingleShot(true);
  connect(&pending_, &QTimer::timeout, this, &SpokenPace::Tell);
  // A name of its own keeps QLabel from announcing every new text itself.
  figure_.setAccessibleName(FigureVoice(figure_));
}

void SpokenPace::Changed() {
  if (!sinceTold_.isValid() || sinceTold_.elapsed() >= kLeastPauseMs) {
    Tell();
  } else if (!pending_.isActive()) {
    pending_.start(static_cast<int>(kLeastPauseMs - sinceTold_.elapsed()));
  }
}

void SpokenPace::Flush() {
  pending_.stop();
  if (figure_.accessibleName() != FigureVoice(figure_)) Tell();
}

void SpokenPace::Tell() {
  pending_.stop();
  sinceTold_.start();
  figure_.setAccessibleName(FigureVoice(figure_));
}

}  // namespace evo
