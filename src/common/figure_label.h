// A label that shows a figure (a count, the average, the generation counter) beside the label
// that captions it, whose buddy it is.
#pragma once

#include <QLabel>

namespace evo {

// Screen readers hear the caption with the figure, "Sevens 1000", and hear it again whenever the
// figure changes; desktop_conventions.cpp gives figures that voice.
class FigureLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;
};

}  // namespace evo
